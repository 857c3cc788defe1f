#include "save/RunLogFormat.h"

#include <cstdio>

std::string FormatLogLine(int day, int month, int year, int hour, int minute, int second,
                          const std::string& text)
{
    // Room for six fields of any int value and the separators.
    char stamp[96];
    std::snprintf(stamp, sizeof stamp, "%02d.%02d.%d, %02d:%02d:%02d, ", day, month, year, hour, minute, second);
    return stamp + text + "\n";
}

std::string RunLogBanner()
{
    return "\n\n" + std::string(121, '*') + "\n\n";
}
