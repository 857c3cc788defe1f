#include "keepset/EventText.h"
#include "keepset/VerifyText.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(VerifyStatus, AFailureBeatsNothingToVerifyWhichBeatsWhole)
{
    const int order[] = {kVerifyWhole, kVerifyNothing, kVerifyFailed};
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b)
            EXPECT_EQ(WorseVerifyStatus(order[a], order[b]), order[std::max(a, b)]) << a << b;

    VerifyCounts counts;
    counts.listed = counts.whole = 3;
    counts.unlisted = 5;  // reported, never a failure
    EXPECT_EQ(KeepsetVerifyStatus(counts, "complete"), kVerifyWhole);
    for (const char* state : {"running", "errors", "", "Complete"})
        EXPECT_EQ(KeepsetVerifyStatus(counts, state), kVerifyFailed) << state;
    for (std::uint64_t VerifyCounts::*failure :
         {&VerifyCounts::missing, &VerifyCounts::changed, &VerifyCounts::unreadable, &VerifyCounts::malformed}) {
        VerifyCounts failed = counts;
        failed.*failure = 1;
        EXPECT_EQ(KeepsetVerifyStatus(failed, "complete"), kVerifyFailed);
    }
}

TEST(VerifyLines, ChecksumAndSizeLinesAndPathsThatStayInTheKeepset)
{
    std::string digest;
    std::string path;
    std::uint64_t size = 0;
    const std::string hash(64, 'c');
    EXPECT_TRUE(ParseChecksumLine(hash + "  db1\\my file.dbf\r", digest, path));
    EXPECT_EQ(path, "db1\\my file.dbf");
    EXPECT_EQ(digest, hash);
    for (const std::string& bad : {std::string(64, 'C') + "  a", hash + " a", hash + "  ", std::string("  a"), std::string(63, 'c') + "  a"})
        EXPECT_FALSE(ParseChecksumLine(bad, digest, path)) << bad;
    EXPECT_TRUE(ParseSizeLine("9999999999999999999  a b", size, path));
    EXPECT_EQ(size, 9999999999999999999u);
    EXPECT_EQ(path, "a b");
    EXPECT_FALSE(ParseSizeLine("12x  a", size, path));
    EXPECT_FALSE(ParseSizeLine("12345678901234567890  a", size, path));

    for (const char* plain : {"a.txt", "db1\\vm001.dbf", "web\\htdocs\\x y\\.htaccess"})
        EXPECT_TRUE(IsPlainKeepsetPath(plain)) << plain;
    for (const char* outside : {"", "..\\x", "a\\..\\..\\x", "\\x", "C:\\x", "a:stream", "a/b", "a\\\\b", "a.\\b",
                                "a \\b", ".\\a", "a\\", "*.dbf", "a\x01" "b"})
        EXPECT_FALSE(IsPlainKeepsetPath(outside)) << outside;
    EXPECT_TRUE(IsKeepsetRecordFile("QZKEEPSET.INF"));
    EXPECT_FALSE(IsKeepsetRecordFile("qzkeepset.sha256.tmp"));
}

TEST(VerifyList, NewestFirstEachDirectoryOnceUndatedLast)
{
    const std::vector<ListedKeepset> entries = {
        {"D:\\a", "07.12.2026", "09:05:00"}, {"D:\\b", "", ""},           {"D:\\c", "08.12.2026", "01:00:00"},
        {"D:\\A", "09.12.2026", "09:00:00"}, {"D:\\d", "07.12.2026", "09:05:01"}, {"", "31.12.2030", "00:00:00"},
        {"D:\\e", "01.01.2027", "00:00:00"}, {"D:\\f", "garbage", ""}};
    std::vector<std::string> order;
    for (const ListedKeepset& entry : NewestFirst(entries))
        order.push_back(entry.path);
    EXPECT_EQ(order, (std::vector<std::string>{"D:\\e", "D:\\c", "D:\\d", "D:\\a", "D:\\b", "D:\\f"}));
}

TEST(RunEvents, TypeAndIdFollowTheStatus)
{
    EXPECT_EQ(SaveRunEvent("D:\\k", 0, 5).type, win::EventType::Information);
    EXPECT_EQ(SaveRunEvent("D:\\k", 1, 5).type, win::EventType::Error);
    EXPECT_EQ(SaveRunEvent("D:\\k", 2, 0).id, kEventSaveDirectoryTooLong);
    EXPECT_EQ(SaveRunEvent("D:\\k", 3, 0).type, win::EventType::Warning);
    EXPECT_EQ(SaveRunEvent("D:\\k", 1, 5).inserts, (std::vector<std::string>{"D:\\k", "1", "5"}));
    VerifyCounts counts;
    counts.listed = 9;
    counts.missing = 2;
    const RunEvent failed = VerifyRunEvent("D:\\k", kVerifyFailed, counts);
    EXPECT_EQ(failed.type, win::EventType::Error);
    EXPECT_EQ(failed.id, kEventVerifyFailed);
    EXPECT_EQ(failed.inserts, (std::vector<std::string>{"D:\\k", "1", "9", "0", "2", "0", "0", "0", "0"}));
    EXPECT_EQ(VerifyRunEvent("x", kVerifyNothing, counts).type, win::EventType::Warning);
    EXPECT_EQ(VerifyRunEvent("x", kVerifyWhole, counts).id, kEventVerifyWhole);
}
