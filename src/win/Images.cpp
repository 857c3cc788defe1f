#include "win/Images.h"

#include "win/Texts.h"

namespace win {

HICON LoadIconResource(unsigned id, int width, int height)
{
    const HINSTANCE resources = static_cast<HINSTANCE>(ResourceModule());
    const HINSTANCE program = GetModuleHandleA(nullptr);
    HANDLE icon = LoadImageA(resources, MAKEINTRESOURCEA(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR);
    if (icon == nullptr && resources != program)
        icon = LoadImageA(program, MAKEINTRESOURCEA(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR);
    return static_cast<HICON>(icon);
}

}  // namespace win
