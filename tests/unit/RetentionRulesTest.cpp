#include "keepset/RetentionRules.h"
#include "save/DatePatterns.h"

#include <gtest/gtest.h>

TEST(RetentionRules, APatternMatchesWhatItExpandsToOnAnyDayAndNothingElse)
{
    const LocalDateTime days[] = {{2026, 12, 7}, {2027, 1, 1}, {2024, 6, 15}, {2099, 12, 31}};
    for (const char* pattern : {"YYYY-MM-DD", "YYMMDD", "kw_WW", "day_WD", "Keep_YYYYY", "DDD", "backup"}) {
        for (const LocalDateTime& day : days) {
            std::string name = pattern;
            ExpandDatePatterns(name, day);
            EXPECT_TRUE(MatchesDatePattern(pattern, name)) << pattern << " " << name;
        }
    }
    const struct {
        const char* pattern;
        const char* name;
        bool matches;
    } cases[] = {
        {"YYYY-MM-DD", "2026-12-07", true},  {"YYYY-MM-DD", "2026-12-7", false}, {"YYYY-MM-DD", "2026-12-077", false},
        {"YYYY-MM-DD", "abcd-12-07", false}, {"KEEP_YYYYMMDD", "keep_20261207", true},
        {"KEEP_YYYYMMDD", "keep_20261207.old", false}, {"YYYYMMDD", "", false}, {"dd", "07", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesDatePattern(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
    EXPECT_TRUE(HasDatePattern("D:\\keep\\YYYY-MM-DD"));
    EXPECT_FALSE(HasDatePattern("D:\\keep\\yyyy-mm-dd"));
}

TEST(RetentionRules, KeepCompleteIsANumberOrOff)
{
    bool malformed = true;
    EXPECT_EQ(ParseKeepComplete("", malformed), 0);
    EXPECT_FALSE(malformed);
    EXPECT_EQ(ParseKeepComplete(" 3 ", malformed), 3);
    EXPECT_FALSE(malformed);
    for (const char* bad : {"three", "-1", "3x", "99999999999999999999", "0x3"}) {
        EXPECT_EQ(ParseKeepComplete(bad, malformed), 0) << bad;
        EXPECT_TRUE(malformed) << bad;
    }
    std::uint64_t earlier = 0;
    std::uint64_t later = 0;
    ASSERT_TRUE(RecordMoment("31.12.2025", "23:59:59", earlier));
    ASSERT_TRUE(RecordMoment("01.01.2026", "00:00:00", later));
    EXPECT_LT(earlier, later);
    EXPECT_FALSE(RecordMoment("1.1.2026", "00:00:00", later));
    EXPECT_FALSE(RecordMoment("01.13.2026", "00:00:00", later));
}

TEST(RetentionRules, OnlyKeepsetsOlderThanTheOldestKeptGo)
{
    // moment, complete, just saved
    const std::vector<RetentionCandidate> six = {
        {10, true, false}, {20, false, false}, {30, true, false}, {40, true, false}, {50, false, false},
        {60, true, true}};
    EXPECT_EQ(ChooseKeepsetsToRemove(six, 3), (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(ChooseKeepsetsToRemove(six, 1), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(ChooseKeepsetsToRemove(six, 4).empty());
    EXPECT_TRUE(ChooseKeepsetsToRemove(six, 0).empty());
    std::vector<RetentionCandidate> failed = six;
    failed.back().complete = false;
    EXPECT_TRUE(ChooseKeepsetsToRemove(failed, 1).empty());
    // A clock set back: the keepset just saved stays and draws no line
    // below itself; the newer ones are never removed.
    std::vector<RetentionCandidate> setBack = six;
    setBack.back().moment = 5;
    EXPECT_EQ(ChooseKeepsetsToRemove(setBack, 2), (std::vector<std::size_t>{}));
}

TEST(RetentionRules, DirectoriesCompareAsTheSystemResolvesThem)
{
    EXPECT_TRUE(SameDirectoryText("D:\\keep\\2026-12-07", "d:\\KEEP.\\2026-12-07\\"));
    EXPECT_TRUE(SameDirectoryText("\\\\server\\share\\k", "\\\\SERVER\\share\\.\\k"));
    EXPECT_FALSE(SameDirectoryText("D:\\keep\\a\\..\\b", "D:\\keep\\b"));
    EXPECT_FALSE(SameDirectoryText("\\\\server\\share", "\\server\\share"));
}
