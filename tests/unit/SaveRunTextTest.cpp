#include "config/LowerCase.h"
#include "save/SaveRunText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Levels = std::vector<std::string>;

TEST(SaveRunText, DirectoryLevelsGoParentFirstAndNeverIncludeTheRoot)
{
    EXPECT_EQ(DirectoryLevels("E:\\bk\\2026\\12"), (Levels{"E:\\bk", "E:\\bk\\2026", "E:\\bk\\2026\\12"}));
    EXPECT_EQ(DirectoryLevels("E:\\bk\\"), (Levels{"E:\\bk"}));
    EXPECT_EQ(DirectoryLevels("E:\\bk\\\\x/y"), (Levels{"E:\\bk", "E:\\bk\\\\x", "E:\\bk\\\\x/y"}));
    EXPECT_EQ(DirectoryLevels("\\keep\\a"), (Levels{"\\keep", "\\keep\\a"}));
    EXPECT_EQ(DirectoryLevels("keep\\a"), (Levels{"keep", "keep\\a"}));
    EXPECT_EQ(DirectoryLevels("\\\\server\\share\\keep"), (Levels{"\\\\server\\share\\keep"}));
    EXPECT_EQ(DirectoryLevels("E:\\"), Levels{});
    EXPECT_EQ(DirectoryLevels(""), Levels{});
    // Nothing is quoted, split at blanks or expanded: each level is a name.
    EXPECT_EQ(DirectoryLevels("C:\\k\\a\"&echo x>C:\\p.txt&\""),
              (Levels{"C:\\k", "C:\\k\\a\"&echo x>C:", "C:\\k\\a\"&echo x>C:\\p.txt&\""}));
}

TEST(SaveRunText, PlainNamesHoldNoSeparatorColonOrTwoDots)
{
    for (const char* plain : {"qzgroups.dbf", "my db", "a.b.c", "%USERNAME%", "x.", ".hidden"})
        EXPECT_TRUE(IsPlainName(plain)) << plain;
    for (const char* refused : {"..\\..\\windows\\evil", "..", "a..b", "sub\\x", "sub/x", "C:x", "\\\\srv"})
        EXPECT_FALSE(IsPlainName(refused)) << refused;
}

TEST(SaveRunText, WebConfDirectoryReplacesFromTheFirstHtdocsOnlyInTheOwnLayout)
{
    EXPECT_EQ(WebConfDirectory("c:\\qz_web\\htdocs", true), "c:\\qz_web\\conf");
    EXPECT_EQ(WebConfDirectory("d:\\qz_web\\htdocs\\", true), "d:\\qz_web\\conf");
    EXPECT_EQ(WebConfDirectory("d:\\qz_web\\htdocs\\sub\\htdocs", true), "d:\\qz_web\\conf");
    EXPECT_EQ(WebConfDirectory("c:\\apache\\htdocs", false), "");
    EXPECT_EQ(WebConfDirectory("c:\\qz_web\\www", true), "");
}

TEST(SaveRunText, LowerCaseFoldsOnlyAsciiCapitals)
{
    EXPECT_EQ(LowerCase("D:\\Qz_Web\\HTDOCS\\\xC4"), "d:\\qz_web\\htdocs\\\xC4");
}
