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
    return GetEnvironmentVariableA("DISPLAY", display, sizeof display) > 0;
}

}  // namespace qztest
