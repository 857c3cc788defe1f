#include "config/LowerCase.h"
#include "save/SaveRunText.h"

#include <gtest/gtest.h>

TEST(SaveRunText, MakeDirectoryCommandQuotesOnlyWhatTheInterpreterWouldSplitOrRun)
{
    EXPECT_EQ(MakeDirectoryCommand("E:\\bk\\2026\\12"), "md E:\\bk\\2026\\12");
    EXPECT_EQ(MakeDirectoryCommand("E:\\my backup"), "md \"E:\\my backup\"");
    EXPECT_EQ(MakeDirectoryCommand("E:\\a&del x"), "md \"E:\\a&del x\"");
    EXPECT_EQ(MakeDirectoryCommand("E:\\a|b"), "md \"E:\\a|b\"");
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
