#include "save/KeepsetRecordFormat.h"

#include <cstdio>

std::string SaveAddKey(int k)
{
    return "SaveAdd" + std::to_string(k);
}

std::string RecordFilePath(const std::string& keepsetDirectory)
{
    return keepsetDirectory + ".\\" + kRecordFileName;
}

std::string RecordDate(const LocalDateTime& when)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02d.%02d.%d", when.day, when.month, when.year);
    return buffer;
}

std::string RecordTime(const LocalDateTime& when)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", when.hour, when.minute, when.second);
    return buffer;
}
