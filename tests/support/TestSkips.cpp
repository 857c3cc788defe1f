#include "support/TestSkips.h"

#include <windows.h>

#include <string>

namespace qztest {

bool RequiredByRun(const char* variable)
{
    char value[8] = "";
    return GetEnvironmentVariableA(variable, value, sizeof value) > 0 && std::string(value) == "1";
}

bool DisplayAvailable()
{
    char display[256];
    if (GetEnvironmentVariableA("DISPLAY", display, sizeof display) == 0)
        return false;
    // The desktop of a prefix that is just starting (or ending) may refuse
    // a window for a moment: a test's own window is made only once the
    // desktop takes a plain one.
    static const bool ready = [] {
        for (int tries = 0; tries < 200; ++tries) {
            const HWND probe = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
            if (probe != nullptr) {
                DestroyWindow(probe);
                return true;
            }
            Sleep(50);
        }
        return false;
    }();
    return ready;
}

}  // namespace qztest
