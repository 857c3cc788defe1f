#include "save/RunLogFormat.h"

#include <gtest/gtest.h>

TEST(RunLogFormat, StampsDayMonthAndTimeWithTwoDigits)
{
    EXPECT_EQ(FormatLogLine(1, 3, 2027, 9, 5, 7, "Start Keepset"), "01.03.2027, 09:05:07, Start Keepset\n");
    EXPECT_EQ(FormatLogLine(7, 12, 2026, 10, 18, 31, "Start Keepset"), "07.12.2026, 10:18:31, Start Keepset\n");
    EXPECT_EQ(FormatLogLine(31, 12, 1999, 23, 59, 59, ""), "31.12.1999, 23:59:59, \n");
}

TEST(RunLogFormat, KeepsTheTextAsItIs)
{
    // Percent signs and long texts are not format directives or cut.
    const std::string text = "100% of C:\\a%1 " + std::string(2000, 'x');
    EXPECT_EQ(FormatLogLine(2, 1, 2030, 0, 0, 0, text), "02.01.2030, 00:00:00, " + text + "\n");
}

TEST(RunLogFormat, BannerIsALineOf121AsterisksBetweenTwoLineBreaks)
{
    EXPECT_EQ(RunLogBanner(), "\n\n" + std::string(121, '*') + "\n\n");
}
