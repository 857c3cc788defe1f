#include "win/TestHold.h"

#include <windows.h>

namespace win {

void HoldForTest(const char* variable)
{
    char name[MAX_PATH] = "";
    const DWORD length = GetEnvironmentVariableA(variable, name, sizeof name);
    if (length == 0 || length >= sizeof name)
        return;
    const HANDLE released = OpenEventA(SYNCHRONIZE, FALSE, name);
    if (released == nullptr)
        return;
    WaitForSingleObject(released, kTestHoldLimit);
    CloseHandle(released);
}

}  // namespace win
