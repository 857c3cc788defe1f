#pragma once
// The folder browser's path rules: search patterns, the texts of tree
// items and the full path joined from them, the components a path is
// opened by, and the order sub-folders are shown in.
#include <string>
#include <vector>

std::string WithTrailingBackslash(const std::string& path);
// Removes one trailing backslash, if there is one.
std::string WithoutTrailingBackslash(const std::string& path);

// Exactly a drive's root, such as C:\ (three characters).
bool IsDriveRoot(const std::string& path);

// The search that tells whether a folder has a sub-folder: path\*.*, or
// C:\*.* for a drive root.
std::string SubFolderProbePattern(const std::string& path);
// The search that lists a folder: the path with a trailing backslash
// ensured, then *.*.
std::string FolderListingPattern(const std::string& path);

// A found entry that is shown as a sub-folder: any directory (hidden and
// system ones too) but "." and "..".
bool IsSubFolderEntry(const std::string& name, unsigned long attributes);

// The text of a tree item for a path without trailing backslash: the whole
// path at the top level (C: for a drive), else the part after the last
// backslash.
std::string FolderItemText(const std::string& path, bool topLevel);

// The full path of an item from its own text and those of its ancestors,
// top level first: C:, C:\DATA\SAVE; never ends with a backslash.
std::string JoinItemTexts(const std::vector<std::string>& textsFromTop);

// The upper-cased components of a path, the drive first (C:, DATA, SAVE);
// empty components (doubled backslashes) are skipped.
std::vector<std::string> UpperCaseComponents(const std::string& path);

// ASCII letters upper-cased; other bytes as they are.
std::string UpperCased(const std::string& text);
// <0, 0 or >0 comparing the texts byte by byte without regard to case.
int CompareIgnoringCase(const std::string& a, const std::string& b);
bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix);

// Ascending without regard to case; names equal but for case keep their
// order.
void SortFoldersIgnoringCase(std::vector<std::string>& paths);
