#pragma once
// Reading sub-folders from disk for the folder tree, named as the system
// shows them (with "?" for what the ANSI code page cannot carry).
#include <string>
#include <vector>

// True at the first sub-folder found in the folder (a drive root such as
// C:\ or a path without trailing backslash). Hidden folders count.
bool HasSubFolder(const std::string& path);

// The full paths of all sub-folders of the folder, in the order the tree
// shows them (ascending, without regard to case). Files are not listed.
std::vector<std::string> ReadSubFolders(const std::string& path);
