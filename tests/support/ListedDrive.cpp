#include "support/ListedDrive.h"

#include "support/WineHost.h"

#include <windows.h>

namespace qztest {
namespace {

std::string DeviceName(char letter)
{
    return std::string(1, letter) + ":";
}

}  // namespace

void MapListedDrive(char letter, const std::string& windowsFolder)
{
    MapDrive(letter, windowsFolder);
    DefineDosDeviceA(DDD_REMOVE_DEFINITION, DeviceName(letter).c_str(), nullptr);
    DefineDosDeviceA(0, DeviceName(letter).c_str(), windowsFolder.c_str());
}

void UnmapListedDrive(char letter)
{
    DefineDosDeviceA(DDD_REMOVE_DEFINITION, DeviceName(letter).c_str(), nullptr);
    UnmapDrive(letter);
}

}  // namespace qztest
