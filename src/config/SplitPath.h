#pragma once
// A path split into drive, directory, file name and extension the way the C
// runtime's _splitpath does it: the drive is "X:" when the second character
// is a colon; the directory runs up to and including the last "\" or "/";
// the extension starts at the last "." after that and keeps its dot.
#include <string>

struct PathParts {
    std::string drive;
    std::string directory;
    std::string fileName;
    std::string extension;
};

PathParts SplitPath(const std::string& path);
