#pragma once
// Date patterns in the save directory, so that one stored setting gives a
// new directory per day, month or week (D:\backup\YYYYMMDD):
//   YYYY the year, YY the year in the century (00 to 99), MM the month,
//   DD the day of the month, WD the weekday (00 Sunday ... 06 Saturday),
//   WW the week number of CurrentWeekNumber.
// Only capitals form patterns, and they are replaced wherever they stand,
// also inside ordinary names. Every pattern gives as many characters as it
// takes, so the text never grows.
#include "save/LocalDateTime.h"

#include <string>

// Replaces the patterns in the text by today's local date.
void ExpandDatePatterns(std::string& text);
// The same for a given day.
void ExpandDatePatterns(std::string& text, const LocalDateTime& today);

// Week number of today's local date, 0 to 53.
int CurrentWeekNumber();
// Week number of a given day. Weeks run from Monday to Sunday, and week 1
// is the week that holds the year's first Thursday. The days before it are
// week 0, never the last week of the year before, and the last days of
// December go on counting up to 53, never week 1 of the next year: that
// keeps a directory named by year and week (YYYY_WW) apart from the
// directory of the same week number at the other end of the year.
int CurrentWeekNumber(const LocalDateTime& today);
