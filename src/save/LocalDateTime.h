#pragma once
// A local calendar date and time of day, as the clock of the machine shows
// it. The date patterns and the keepset record take it as a value, so a
// whole step works with one reading of the clock.

struct LocalDateTime {
    int year = 0;    // four digits, such as 2026
    int month = 0;   // 1 to 12
    int day = 0;     // 1 to 31
    int hour = 0;    // 0 to 23
    int minute = 0;
    int second = 0;
};

// The local date and time now.
LocalDateTime CurrentLocalDateTime();

// Day of the year, 1 January = 1.
int DayOfYear(const LocalDateTime& date);

// Weekday, 0 for Sunday, 1 for Monday ... 6 for Saturday.
int DayOfWeek(const LocalDateTime& date);
