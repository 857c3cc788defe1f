#pragma once
// Icons of the resource module (the language library when one is loaded,
// else the program).
#include <windows.h>

namespace win {

// Loads icon resource `id` at exactly width x height pixels in the default
// colours, from the resource module or, when that lacks it, from the
// program itself. nullptr when neither has it. The caller destroys it
// (DestroyIcon).
HICON LoadIconResource(unsigned id, int width, int height);

}  // namespace win
