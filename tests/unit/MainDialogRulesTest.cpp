#include "ui/MainDialogRules.h"

#include <gtest/gtest.h>

TEST(MainDialogRules, DatePatternsAreTwoCapitalsSideBySide)
{
    for (const char* withPattern : {"D:\\backup\\DD", "D:\\MM", "D:\\YY", "D:\\YYYY-MM-DD", "D:\\day_WD", "D:\\kw_WW",
                                    "D:\\BACKUP\\ADDONS", "D:\\WWW", "D:\\WDay"})
        EXPECT_TRUE(ContainsDatePattern(withPattern)) << withPattern;
    for (const char* without : {"", "D:\\backup\\yyyymmdd", "D:\\D\\D", "D:\\M-M", "D:\\Y", "D:\\W", "D:\\dd"})
        EXPECT_FALSE(ContainsDatePattern(without)) << without;
}

TEST(MainDialogRules, OnlyVersion4Point0GetsTheRepairDiskProgram)
{
    EXPECT_EQ(RecoveryProgramFor("4.0"), "rdisk.exe");
    for (const char* other : {"5.0", "6.1", "", "4.0 ", "4.00", "4"})
        EXPECT_EQ(RecoveryProgramFor(other), "ntbackup.exe") << other;
}

TEST(MainDialogRules, MinimisedIconIsCentredRoundingUp)
{
    EXPECT_EQ(CentredIconOffset(36, 32), 2);
    EXPECT_EQ(CentredIconOffset(37, 32), 3);
    EXPECT_EQ(CentredIconOffset(32, 32), 0);
}
