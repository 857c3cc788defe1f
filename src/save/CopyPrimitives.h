#pragma once
// The copies a save run is made of. Every file handled is reported twice,
// as a run log line and as a report message to the main window; a failed
// copy is reported and the copy goes on with the next entry.
//
// Directories found by a search are told by their whole attribute value
// (16 plain, 17 read-only, 48 archive), not by the directory bit: a hidden
// directory (18) counts as a file, and its copy fails and is reported.
//
// In a save run each file is hashed as it is copied into the keepset, for
// its manifest (SavedFiles); a copy that cannot be hashed is reported and
// counted as a failed one, and leaves no file behind.
#include <string>

// Copies the entries the wildcard pattern finds in the source directory to
// the target directory ("%s\%s" on each side), replacing existing files and
// making a read-only target writable first. Skips directories (16, 17, 48)
// and names beginning with ".". Returns 1 when a copy failed or the search
// could not read the directory (a red line says so), else 0 (also when
// nothing matched).
int CopyFilesByPattern(const std::string& pattern, const std::string& sourceDirectory,
                       const std::string& targetDirectory);

// Copies the directory sourceParent.\name with its subtree to
// targetParent.\name, creating each target level. Descends only into
// directories of value 16 or 48 whose names hold no dot. Returns 1 when any
// copy or directory search in the tree failed, else 0.
int CopyDirectoryTree(const std::string& sourceParent, const std::string& name, const std::string& targetParent);

// Copies the files directly inside one configured additional directory (or
// the files a pattern such as D:\data\*.txt names) into the mirror of its
// path below the save directory. Returns 1 when every copy succeeded or
// nothing matched, 0 when one failed or the search could not read the
// directory: the reverse of the two above.
int CopyAdditionalDirectory(const std::string& path);
