#include "save/LocalDateTime.h"

#include <ctime>

namespace {

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// A month outside 1 to 12 counts as the nearest valid one, so a broken
// date never reads past the tables.
int ValidMonth(int month)
{
    return month < 1 ? 1 : (month > 12 ? 12 : month);
}

}  // namespace

LocalDateTime CurrentLocalDateTime()
{
    const std::time_t now = std::time(nullptr);
    LocalDateTime result;
    if (const std::tm* local = std::localtime(&now)) {
        result.year = local->tm_year + 1900;
        result.month = local->tm_mon + 1;
        result.day = local->tm_mday;
        result.hour = local->tm_hour;
        result.minute = local->tm_min;
        result.second = local->tm_sec;
    }
    return result;
}

int DayOfYear(const LocalDateTime& date)
{
    static const int daysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const int month = ValidMonth(date.month);
    int days = daysBeforeMonth[month - 1] + date.day;
    if (month > 2 && IsLeapYear(date.year))
        ++days;
    return days;
}

int DayOfWeek(const LocalDateTime& date)
{
    // Counted from the Gregorian calendar's rules, with January and
    // February taken as the last months of the year before.
    static const int monthOffset[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int month = ValidMonth(date.month);
    const int year = month < 3 ? date.year - 1 : date.year;
    const long days = static_cast<long>(year) + year / 4 - year / 100 + year / 400 +
                      monthOffset[month - 1] + date.day;
    return static_cast<int>(((days % 7) + 7) % 7);
}
