#pragma once
// Lower case as the tool compares names and paths: the letters A to Z
// only, whatever the code page, so a name compares the same everywhere.
#include <string>

// Lower case of the letters A to Z; everything else stays.
std::string LowerCase(const std::string& text);
