#pragma once
// How the copy primitives form their paths: the two joins of a directory and
// a name, and where an additional directory is searched and mirrored.
#include <cstddef>
#include <string>
#include <vector>

// Usable lengths of the paths the copy primitives form. A path that would be
// longer is never cut (a cut path names another place): the copy it belongs
// to is reported as failed instead.
constexpr std::size_t kCopiedFilePathLength = 511;     // source and target files
constexpr std::size_t kTreeTargetLength = 127;         // a level's target directory
constexpr std::size_t kTreeSourceLength = 255;         // a level's source directory and its patterns
constexpr std::size_t kAdditionalPathLength = 255;     // a configured additional directory
constexpr std::size_t kMirrorLength = 511;             // its mirror below the save directory

// "%s\%s": directory, backslash, name.
std::string JoinPath(const std::string& directory, const std::string& name);

// "%s.\%s": directory, ".\", name. The system drops the trailing dot of a
// path component, so this names the entry inside the directory whether or
// not the directory text ends in a backslash (E:\bk.\data, E:\.\data).
std::string JoinPathDotted(const std::string& directory, const std::string& name);

// Where one configured additional directory is searched and where its files
// go below the save directory.
struct AdditionalDirectoryPaths {
    std::string pattern;           // what is searched
    std::string sourceDirectory;   // where the found names lie
    std::string mirror;            // save directory + ".\" + source directory without its root
};

// A path ending in "\" is searched with "*.*" appended; a path holding a dot
// is taken as a file pattern (D:\data\*.txt), its directory being the text
// up to and including its last backslash; any other path is a directory
// searched with "\*.*".
AdditionalDirectoryPaths WorkOutAdditionalDirectory(const std::string& path, const std::string& saveDir);

// The directory text without its root: without "D:\" when the second
// character is ":", otherwise without its first character (a leading "\").
std::string PathWithoutRoot(const std::string& directory);

// The directories to create, parent first, so that the mirror exists: the
// mirror text up to each backslash (inclusive) after the save directory and
// its ".\", and the whole text last.
std::vector<std::string> MirrorLevels(const std::string& mirror, std::size_t saveDirLength);
