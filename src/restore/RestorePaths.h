#pragma once
// How the restore run names what it reads from a keepset and where it
// writes it back. A keepset root and a sub-directory beginning with "\" are
// joined with a dot between them (D:\keep and \qzt give D:\keep.\qzt); the
// system drops the trailing dot of a path component, so the join names
// D:\keep\qzt whether or not the root ends with a backslash (D:\ gives
// D:\.\qzt). The joined forms are what the run log shows.
#include <string>

// "%s.%s": the keepset directory of one item.
std::string KeepsetDirectory(const std::string& root, const std::string& subDirectory);

// "%s.%s.\%s": the search for the item's files; an empty pattern means
// every entry ("*.*").
std::string KeepsetSearch(const std::string& root, const std::string& subDirectory, const std::string& pattern);

// "%s\%s": a file inside a directory.
std::string FileInDirectory(const std::string& directory, const std::string& name);

// Where one additional directory of a keepset (SaveAdd1 ... SaveAdd4, the
// path the save run copied from) is read and written back. The save run
// keeps its files under a mirror of the path without its drive, so the
// path is split the way the C runtime's _splitpath splits it:
// - ending with "\" (C:\data\extra\): the directory part, every file, back
//   into the path itself;
// - a name without extension (C:\data\extra): the directory part and the
//   name, every file, back into the path itself;
// - a name with an extension (C:\data\*.txt): the directory part, the name
//   as the pattern, back into drive and directory (C:\data).
struct AdditionalEntry {
    std::string subDirectory;  // below the keepset root, beginning with "\" for an absolute path
    std::string pattern;       // empty: every file
    std::string target;        // empty when the value names no directory
};

AdditionalEntry AdditionalEntryOf(const std::string& value);

// True for an additional directory a restore may write into: a full path
// (a drive with its root, "C:\data", or a share, "\\server\share\data"),
// none of whose parts is made of dots and blanks only (".", "..", "...",
// which the system reads as this or the parent directory) and with no
// wildcard before the last part. A keepset's record names these
// directories; a relative one would land wherever the program happens to
// run, and a ".." would lead out of both the keepset and the directory.
bool IsSafeAdditionalPath(const std::string& value);

// True for the entries a restore passes over as directories. They are told
// by the whole attribute value, as the save side does: plain (16), with the
// archive bit (48) or read-only (17); any other directory, a hidden one for
// instance, is offered to the copy and fails. "." and ".." go by name as
// well, whatever their attributes.
bool IsDirectoryEntry(const std::string& name, unsigned long attributes);

// True for the names equal to each other regardless of letter case, as the
// system compares file names.
bool SameFileName(const std::string& first, const std::string& second);
