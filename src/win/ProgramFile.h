#pragma once
// The program's own file, and the application name taken from it.
#include <string>

namespace win {

// The full path of the running program (GetModuleFileNameA); empty when it
// cannot be read.
std::string ProgramFilePath();

// The program file's name without directory and extension ("qzkeepset"):
// the caption of the boxes that carry the application's name, as no
// application title is set anywhere else.
std::string ApplicationName();

}  // namespace win
