#include "keepset/KeepsetRecordFormat.h"

#include <cstdio>

std::string SaveAddKey(int k)
{
    return "SaveAdd" + std::to_string(k);
}

std::string RecordFilePath(const std::string& keepsetDirectory)
{
    return KeepsetFilePath(keepsetDirectory, kRecordFileName);
}

std::string KeepsetFilePath(const std::string& keepsetDirectory, const std::string& name)
{
    return keepsetDirectory + ".\\" + name;
}

KeepsetState KeepsetStateOf(const std::string& value)
{
    std::string lower = value;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (lower == kStateRunning)
        return KeepsetState::Running;
    if (lower == kStateComplete)
        return KeepsetState::Complete;
    if (lower == kStateErrors)
        return KeepsetState::Errors;
    return KeepsetState::Unknown;
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
