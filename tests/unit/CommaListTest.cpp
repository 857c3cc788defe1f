#include "config/CommaList.h"

#include <gtest/gtest.h>

using Names = std::vector<std::string>;

TEST(CommaList, RunsOfCommasAreOneSeparatorAndBlanksStay)
{
    EXPECT_EQ(SplitCommaList("a,,b,"), (Names{"a", "b"}));
    EXPECT_EQ(SplitCommaList("alarm,voice,"), (Names{"alarm", "voice"}));
    EXPECT_EQ(SplitCommaList(",,x"), (Names{"x"}));
    EXPECT_EQ(SplitCommaList(" a , b"), (Names{" a ", " b"}));
    EXPECT_EQ(SplitCommaList("single"), (Names{"single"}));
    EXPECT_EQ(SplitCommaList(""), Names{});
    EXPECT_EQ(SplitCommaList(",,,"), Names{});
}
