#include "win/Placeholders.h"

#include <gtest/gtest.h>

TEST(Placeholders, ReplacesEachOccurrenceAndLeavesOtherPercentSigns)
{
    EXPECT_EQ(SubstitutePlaceholders("%1 saved to %2", "C:\\a", "E:\\b"), "C:\\a saved to E:\\b");
    EXPECT_EQ(SubstitutePlaceholders("%1 and %1", "x"), "x and x");
    EXPECT_EQ(SubstitutePlaceholders("100% %3 %", "x", "y"), "100% %3 %");
    // A replacement that itself holds "%2" is not expanded again.
    EXPECT_EQ(SubstitutePlaceholders("%1|%2", "%2", "b"), "%2|b");
    EXPECT_EQ(SubstitutePlaceholders("ends with %", "x"), "ends with %");
}
