#pragma once
#include <string>

// True when an entry of that name exists (a file counts too) or the
// directory was created, one level, its parent must exist. Otherwise
// reports "Failed to create directory ..." as a failure (run log and list)
// and returns false, which the caller counts as an error of its run; an
// interactive run also shows the warning box, which halts the calling
// thread until it is closed.
bool EnsureDirectory(const std::string& path);

// Creates every missing level of a directory, parent first, each with the
// system's one-level call: no command interpreter, so nothing in the name
// runs or is expanded. True when the directory exists at the end; a level
// the file system refuses ends it with false, creating nothing below.
bool CreateDirectoryLevels(const std::string& path);
