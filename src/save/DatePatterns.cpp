#include "save/DatePatterns.h"

#include <cstdio>

namespace {

// The value's first `width` characters: a number that does not fit (a year
// before 2000 or after 2099 as YY) is cut rather than made longer.
std::string Fixed(int value, const char* format, std::size_t width)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, format, value);
    return std::string(buffer).substr(0, width);
}

bool PairAt(const std::string& text, std::size_t i, const char* pair)
{
    return i + 1 < text.size() && text[i] == pair[0] && text[i + 1] == pair[1];
}

// Monday = 1 ... Sunday = 7.
int MondayBasedWeekday(const LocalDateTime& date)
{
    const int weekday = DayOfWeek(date);
    return weekday == 0 ? 7 : weekday;
}

}  // namespace

void ExpandDatePatterns(std::string& text)
{
    ExpandDatePatterns(text, CurrentLocalDateTime());
}

void ExpandDatePatterns(std::string& text, const LocalDateTime& today)
{
    const std::string week = Fixed(CurrentWeekNumber(today), "%02d", 2);
    const std::string source = text;
    std::string expanded;
    std::size_t i = 0;
    // The walk never looks back: "DDD" is the day followed by "D".
    while (i < source.size()) {
        if (PairAt(source, i, "YY")) {
            if (PairAt(source, i + 2, "YY")) {
                expanded += Fixed(today.year, "%d", 4);
                i += 4;
            } else {
                expanded += Fixed(today.year - 2000, "%02d", 2);
                i += 2;
            }
        } else if (PairAt(source, i, "DD")) {
            expanded += Fixed(today.day, "%02d", 2);
            i += 2;
        } else if (PairAt(source, i, "MM")) {
            expanded += Fixed(today.month, "%02d", 2);
            i += 2;
        } else if (PairAt(source, i, "WD")) {
            expanded += Fixed(DayOfWeek(today), "%02d", 2);
            i += 2;
        } else if (PairAt(source, i, "WW")) {
            expanded += week;
            i += 2;
        } else {
            expanded += source[i];
            ++i;
        }
    }
    text = expanded;
}

int CurrentWeekNumber()
{
    return CurrentWeekNumber(CurrentLocalDateTime());
}

int CurrentWeekNumber(const LocalDateTime& today)
{
    const int d = DayOfYear(today);
    const int w = MondayBasedWeekday(today);
    // Weekday of 1 January, d - 1 days before today.
    const int j = ((w - 1 - (d - 1)) % 7 + 7) % 7 + 1;
    const int firstMonday = j == 1 ? 1 : 9 - j;
    // Years beginning Monday to Thursday have their first Thursday in the
    // first days, so those days are week 1 already.
    const bool earlyYear = j <= 4;
    if (d < firstMonday)
        return earlyYear ? 1 : 0;
    const int wholeWeeks = (d - firstMonday - w + 1) / 7;
    if (!earlyYear || j == 1)
        return wholeWeeks + 1;
    return wholeWeeks + 2;
}
