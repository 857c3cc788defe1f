#include "save/DatePatterns.h"

#include <gtest/gtest.h>

namespace {

LocalDateTime Day(int year, int month, int day)
{
    return LocalDateTime{year, month, day};
}

std::string Expanded(std::string text, const LocalDateTime& today)
{
    ExpandDatePatterns(text, today);
    return text;
}

const LocalDateTime kMonday7December2026 = Day(2026, 12, 7);

}  // namespace

TEST(DatePatterns, ReplacesEachPatternByItsValue)
{
    const LocalDateTime today = kMonday7December2026;
    EXPECT_EQ(Expanded("D:\\backup\\YYYY-MM-DD", today), "D:\\backup\\2026-12-07");
    EXPECT_EQ(Expanded("D:\\backup\\YYMMDD", today), "D:\\backup\\261207");
    EXPECT_EQ(Expanded("D:\\kw_WW", today), "D:\\kw_50");
    EXPECT_EQ(Expanded("D:\\day_WD", today), "D:\\day_01");
    EXPECT_EQ(Expanded("D:\\YYYY\\MM", Day(2026, 12, 31)), "D:\\2026\\12");
    EXPECT_EQ(Expanded("D:\\YY", Day(2007, 3, 1)), "D:\\07");
    EXPECT_EQ(Expanded("WD", Day(2026, 12, 6)), "00");   // Sunday
    EXPECT_EQ(Expanded("WD", Day(2026, 12, 12)), "06");  // Saturday
    EXPECT_EQ(Expanded("", today), "");
    EXPECT_EQ(Expanded("D:\\plain", today), "D:\\plain");
}

TEST(DatePatterns, WalksForwardWithoutLookingBack)
{
    const LocalDateTime today = kMonday7December2026;
    EXPECT_EQ(Expanded("DDD", today), "07D");
    EXPECT_EQ(Expanded("YYYYY", today), "2026Y");
    EXPECT_EQ(Expanded("YYY", today), "26Y");
    EXPECT_EQ(Expanded("YYYYYY", today), "202626");
    EXPECT_EQ(Expanded("MMM", today), "12M");
    EXPECT_EQ(Expanded("D", today), "D");
    EXPECT_EQ(Expanded("WDD", today), "01D");
}

TEST(DatePatterns, OnlyCapitalsFormPatternsButInsideNamesToo)
{
    const LocalDateTime today = kMonday7December2026;
    EXPECT_EQ(Expanded("D:\\backup\\yyyymmdd", today), "D:\\backup\\yyyymmdd");
    EXPECT_EQ(Expanded("D:\\Dd\\wW\\Yy", today), "D:\\Dd\\wW\\Yy");
    EXPECT_EQ(Expanded("D:\\BACKUP\\ADDONS", Day(2026, 3, 7)), "D:\\BACKUP\\A07ONS");
    EXPECT_EQ(Expanded("D:\\WWW", today), "D:\\50W");
}

TEST(DatePatterns, ValuesOutsideTheCenturyKeepTheTextLength)
{
    // YY is the year minus 2000 cut to two characters.
    EXPECT_EQ(Expanded("xYYx", Day(1999, 5, 1)), "x-1x");
    EXPECT_EQ(Expanded("xYYx", Day(2100, 5, 1)), "x10x");
    const std::string text = "YYYY.YY.MM.DD.WD.WW";
    EXPECT_EQ(Expanded(text, Day(12345, 1, 1)).size(), text.size());
}

TEST(WeekNumber, ExamplesAroundTheTurnOfTheYear)
{
    EXPECT_EQ(CurrentWeekNumber(Day(2027, 1, 1)), 0);    // Friday
    EXPECT_EQ(CurrentWeekNumber(Day(2027, 1, 3)), 0);    // Sunday
    EXPECT_EQ(CurrentWeekNumber(Day(2027, 1, 4)), 1);    // first Monday
    EXPECT_EQ(CurrentWeekNumber(Day(2024, 1, 1)), 1);    // the year begins on a Monday
    EXPECT_EQ(CurrentWeekNumber(Day(2024, 1, 7)), 1);
    EXPECT_EQ(CurrentWeekNumber(Day(2024, 1, 8)), 2);
    EXPECT_EQ(CurrentWeekNumber(Day(2024, 6, 15)), 24);  // Saturday, leap year
    EXPECT_EQ(CurrentWeekNumber(Day(2025, 12, 29)), 53); // Monday
    EXPECT_EQ(CurrentWeekNumber(Day(2025, 12, 31)), 53);
    EXPECT_EQ(CurrentWeekNumber(Day(2026, 1, 1)), 1);    // Thursday
    EXPECT_EQ(CurrentWeekNumber(kMonday7December2026), 50);
}

// For each weekday 1 January can fall on: the first Monday, the week of
// 1 January and the week of the first Monday.
TEST(WeekNumber, FollowsTheWeekdayOfFirstJanuary)
{
    struct Year {
        int year;
        const char* firstJanuary;
        int firstMonday;
        int weekOfFirstJanuary;
        int weekOfFirstMonday;
    };
    const Year years[] = {
        {2024, "Monday", 1, 1, 1},   {2030, "Tuesday", 7, 1, 2}, {2025, "Wednesday", 6, 1, 2},
        {2026, "Thursday", 5, 1, 2}, {2027, "Friday", 4, 0, 1},  {2028, "Saturday", 3, 0, 1},
        {2023, "Sunday", 2, 0, 1},
    };
    for (const Year& y : years) {
        SCOPED_TRACE(y.firstJanuary);
        EXPECT_EQ(Expanded("WD", Day(y.year, 1, y.firstMonday)), "01");
        EXPECT_EQ(CurrentWeekNumber(Day(y.year, 1, 1)), y.weekOfFirstJanuary);
        if (y.firstMonday > 1) {
            EXPECT_EQ(CurrentWeekNumber(Day(y.year, 1, y.firstMonday - 1)), y.weekOfFirstJanuary);
        }
        EXPECT_EQ(CurrentWeekNumber(Day(y.year, 1, y.firstMonday)), y.weekOfFirstMonday);
        EXPECT_EQ(CurrentWeekNumber(Day(y.year, 1, y.firstMonday + 6)), y.weekOfFirstMonday);
        EXPECT_EQ(CurrentWeekNumber(Day(y.year, 1, y.firstMonday + 7)), y.weekOfFirstMonday + 1);
    }
}

// Over a whole century: the number stays within 0 to 53, changes on
// Mondays only (and on 1 January), and then by exactly one.
TEST(WeekNumber, CountsUpByOneEachMondayThroughTheYear)
{
    static const int daysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int year = 2000; year < 2100; ++year) {
        int previous = -1;
        for (int month = 1; month <= 12; ++month) {
            const int days = daysInMonth[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
            for (int day = 1; day <= days; ++day) {
                const LocalDateTime date = Day(year, month, day);
                const int week = CurrentWeekNumber(date);
                ASSERT_GE(week, 0) << year << "-" << month << "-" << day;
                ASSERT_LE(week, 53) << year << "-" << month << "-" << day;
                if (previous >= 0) {
                    const int expected = DayOfWeek(date) == 1 ? previous + 1 : previous;
                    ASSERT_EQ(week, expected) << year << "-" << month << "-" << day;
                }
                previous = week;
            }
        }
    }
}

TEST(LocalCalendar, DayOfYearAndWeekday)
{
    EXPECT_EQ(DayOfYear(Day(2024, 3, 1)), 61);
    EXPECT_EQ(DayOfYear(Day(2100, 12, 31)), 365);
    EXPECT_EQ(DayOfYear(Day(2000, 12, 31)), 366);
    EXPECT_EQ(DayOfWeek(Day(2000, 2, 29)), 2);  // Tuesday
    EXPECT_EQ(DayOfWeek(Day(2100, 3, 1)), 1);
    // A broken month reads as the nearest valid one instead of past a table.
    EXPECT_EQ(DayOfYear(Day(2024, 13, 1)), DayOfYear(Day(2024, 12, 1)));
    EXPECT_EQ(DayOfWeek(Day(2024, 0, 1)), DayOfWeek(Day(2024, 1, 1)));
}

TEST(LocalCalendar, TheClockGivesAValidDate)
{
    const LocalDateTime now = CurrentLocalDateTime();
    EXPECT_GE(now.year, 2000);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_GE(now.day, 1);
    EXPECT_LE(now.day, 31);
    const int week = CurrentWeekNumber();
    EXPECT_GE(week, 0);
    EXPECT_LE(week, 53);
}
