#pragma once
#include <string>

// True when an entry of that name exists (a file counts too) or the
// directory was created, one level, its parent must exist. Otherwise
// reports "Failed to create directory ..." as a failure (run log and list)
// and returns false, which the caller counts as an error of its run; an
// interactive run also shows the warning box, which halts the calling
// thread until it is closed.
bool EnsureDirectory(const std::string& path);
