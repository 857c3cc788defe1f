// Entry point of qzkeepset.exe.
#include "config/LoadSaveSettings.h"

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    std::string saveDirectoryText;
    LoadSaveSettings(saveDirectoryText);
    return 0;
}
