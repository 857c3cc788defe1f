#pragma once
#include <string>

// True when an entry of that name exists (a file counts too) or the
// directory was created, one level, its parent must exist. Otherwise warns
// "Failed to create directory ..." and returns false; the box halts the
// calling thread until it is closed.
bool EnsureDirectory(const std::string& path);
