#include "config/CommaList.h"
#include "ui/SettingsListEntries.h"

#include <gtest/gtest.h>

using Names = std::vector<std::string>;

TEST(SettingsLists, AJoinedListSplitsBackIntoTheSameNames)
{
    EXPECT_EQ(JoinCommaList(Names{}), "");
    const Names names{"include", "web site", "ini"};
    EXPECT_EQ(JoinCommaList(names), "include,web site,ini,");
    EXPECT_EQ(SplitCommaList(JoinCommaList(names)), names);
}

TEST(SettingsLists, PreCheckIsASubstringTestWithoutRegardToCase)
{
    EXPECT_TRUE(CommaListMentions("alarm,voice,", "voice"));
    EXPECT_TRUE(CommaListMentions("Alarm,VOICE,", "voice"));
    EXPECT_TRUE(CommaListMentions("alarm,voice,", "Alarm"));
    // Not a comparison of whole names: "test" is found inside "mytest".
    EXPECT_TRUE(CommaListMentions("mytest,", "test"));
    EXPECT_TRUE(CommaListMentions("alarm,voice,", "m,vo"));
    EXPECT_FALSE(CommaListMentions("mytest,", "mytests"));
    EXPECT_FALSE(CommaListMentions("", "test"));
}

TEST(SettingsLists, DatabasesArePlainDirectoriesOnly)
{
    EXPECT_TRUE(IsDatabaseEntry("mysql", 0x10));
    EXPECT_FALSE(IsDatabaseEntry("archived", 0x30));
    EXPECT_FALSE(IsDatabaseEntry("readonly", 0x11));
    EXPECT_FALSE(IsDatabaseEntry("hidden", 0x12));
    EXPECT_FALSE(IsDatabaseEntry("ibdata1", 0x20));
    EXPECT_FALSE(IsDatabaseEntry(".", 0x10));
    EXPECT_FALSE(IsDatabaseEntry("..", 0x10));
    EXPECT_FALSE(IsDatabaseEntry(".trash", 0x10));
}

TEST(SettingsLists, HtdocsSubDirectoriesMayCarryTheArchiveAttribute)
{
    EXPECT_TRUE(IsHtdocsSubDirectoryEntry("include", 0x10));
    EXPECT_TRUE(IsHtdocsSubDirectoryEntry("archived", 0x30));
    EXPECT_FALSE(IsHtdocsSubDirectoryEntry("hidden", 0x12));
    EXPECT_FALSE(IsHtdocsSubDirectoryEntry("readonly", 0x11));
    EXPECT_FALSE(IsHtdocsSubDirectoryEntry("hidden-archived", 0x32));
    EXPECT_FALSE(IsHtdocsSubDirectoryEntry("index.php", 0x20));
    EXPECT_FALSE(IsHtdocsSubDirectoryEntry("..", 0x10));
    EXPECT_FALSE(IsHtdocsSubDirectoryEntry(".svn", 0x30));
}
