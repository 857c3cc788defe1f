#pragma once
// The texts the run log is made of: the time-stamped line and the banner
// that opens every save and restore run.
#include <string>

// One log line, "%02d.%02d.%d, %02d:%02d:%02d, %s\n": day and month with two
// digits, the year as it is, the time of day with two digits each, then the
// text and a line break.
std::string FormatLogLine(int day, int month, int year, int hour, int minute, int second,
                          const std::string& text);

// Two line breaks, a line of 121 asterisks, two line breaks; no time stamp.
std::string RunLogBanner();
