#include "ui/MainDialogRules.h"

bool ContainsDatePattern(const std::string& saveDirectory)
{
    for (const char* pattern : {"DD", "MM", "YY", "WD", "WW"}) {
        if (saveDirectory.find(pattern) != std::string::npos)
            return true;
    }
    return false;
}

std::string RecoveryProgramFor(const std::string& currentVersion)
{
    return currentVersion == "4.0" ? "rdisk.exe" : "ntbackup.exe";
}

int CentredIconOffset(int clientExtent, int iconExtent)
{
    return (clientExtent - iconExtent + 1) / 2;
}
