#include "win/ShellIcons.h"

#include "win/CallCounter.h"

#include <windows.h>
#include <shellapi.h>

namespace win {
namespace {

// One SHGetFileInfoA call, counted; 0 when it fails or a test made it fail.
DWORD_PTR ShellFileInfo(const std::string& path, UINT flags, SHFILEINFOA& info)
{
    unsigned long code = 0;
    if (InterceptCall(Op::ShellFileInfo, code)) {
        SetLastError(code);
        return 0;
    }
    ZeroMemory(&info, sizeof info);
    return SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, flags);
}

}  // namespace

void* SystemSmallImageList()
{
    SHFILEINFOA info;
    return reinterpret_cast<void*>(ShellFileInfo("C:\\", SHGFI_SYSICONINDEX | SHGFI_SMALLICON, info));
}

bool SmallIconIndexes(const std::string& path, int& icon, int& openIcon)
{
    // With SHGFI_SYSICONINDEX the shell hands out only an index, no icon
    // handle, so there is nothing to release afterwards.
    SHFILEINFOA info;
    if (ShellFileInfo(path, SHGFI_SYSICONINDEX | SHGFI_SMALLICON, info) == 0)
        return false;
    icon = info.iIcon;
    if (ShellFileInfo(path, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON, info) == 0)
        return false;
    openIcon = info.iIcon;
    return true;
}

}  // namespace win
