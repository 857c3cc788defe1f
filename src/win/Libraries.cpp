#include "win/Libraries.h"

#include "win/CallCounter.h"

#include <windows.h>

namespace win {

void* LoadResourceLibrary(const std::string& fileName)
{
    unsigned long code = 0;
    if (InterceptCall(Op::LibraryLoad, code)) {
        SetLastError(code);
        return nullptr;
    }
    return LoadLibraryA(fileName.c_str());
}

}  // namespace win
