#include "controls/FolderPaths.h"

#include <gtest/gtest.h>

TEST(FolderPaths, DriveRootsAreSearchedWithoutAnExtraBackslash)
{
    EXPECT_TRUE(IsDriveRoot("C:\\"));
    EXPECT_FALSE(IsDriveRoot("C:"));
    EXPECT_FALSE(IsDriveRoot("C:\\A"));
    EXPECT_FALSE(IsDriveRoot("CC\\"));
    EXPECT_EQ(SubFolderProbePattern("C:\\"), "C:\\*.*");
    EXPECT_EQ(SubFolderProbePattern("C:\\DATA"), "C:\\DATA\\*.*");
    EXPECT_EQ(FolderListingPattern("C:"), "C:\\*.*");
    EXPECT_EQ(FolderListingPattern("C:\\DATA\\"), "C:\\DATA\\*.*");
}

TEST(FolderPaths, TrailingBackslashIsEnsuredOrRemovedOnce)
{
    EXPECT_EQ(WithTrailingBackslash("C:"), "C:\\");
    EXPECT_EQ(WithTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(WithTrailingBackslash(""), "\\");
    EXPECT_EQ(WithoutTrailingBackslash("C:\\DATA\\"), "C:\\DATA");
    EXPECT_EQ(WithoutTrailingBackslash("C:\\DATA\\\\"), "C:\\DATA\\");
    EXPECT_EQ(WithoutTrailingBackslash(""), "");
}

TEST(FolderPaths, SubFoldersAreDirectoriesOfAnyAttributesButTheDotEntries)
{
    EXPECT_TRUE(IsSubFolderEntry("Data", 0x10));
    EXPECT_TRUE(IsSubFolderEntry("Hidden", 0x12));
    EXPECT_TRUE(IsSubFolderEntry("System", 0x16));
    EXPECT_TRUE(IsSubFolderEntry("Archived", 0x30));
    EXPECT_FALSE(IsSubFolderEntry(".", 0x10));
    EXPECT_FALSE(IsSubFolderEntry("..", 0x10));
    EXPECT_FALSE(IsSubFolderEntry("file.txt", 0x20));
    EXPECT_TRUE(IsSubFolderEntry("...", 0x10));
}

TEST(FolderPaths, ItemTextsAndTheFullPathJoinedFromThem)
{
    EXPECT_EQ(FolderItemText("C:", true), "C:");
    EXPECT_EQ(FolderItemText("C:\\Data\\Save", false), "Save");
    EXPECT_EQ(FolderItemText("NoBackslash", false), "NoBackslash");

    EXPECT_EQ(JoinItemTexts({"C:"}), "C:");
    EXPECT_EQ(JoinItemTexts({"C:", "DATA", "SAVE"}), "C:\\DATA\\SAVE");
    EXPECT_EQ(JoinItemTexts({}), "");
}

TEST(FolderPaths, PathIsOpenedByUpperCaseComponents)
{
    EXPECT_EQ(UpperCaseComponents("c:\\Data\\sAve"), (std::vector<std::string>{"C:", "DATA", "SAVE"}));
    EXPECT_EQ(UpperCaseComponents("C:\\Data\\"), (std::vector<std::string>{"C:", "DATA"}));
    EXPECT_EQ(UpperCaseComponents("C:\\\\Data"), (std::vector<std::string>{"C:", "DATA"}));
    EXPECT_EQ(UpperCaseComponents("C:"), (std::vector<std::string>{"C:"}));
    EXPECT_TRUE(UpperCaseComponents("").empty());
    // Only ASCII letters change.
    EXPECT_EQ(UpperCased("a\xe4z"), "A\xe4Z");
}

TEST(FolderPaths, ComparisonIgnoresCaseAndPrefixesMatchDrives)
{
    EXPECT_EQ(CompareIgnoringCase("Alpha", "aLPHA"), 0);
    EXPECT_LT(CompareIgnoringCase("alpha", "Beta"), 0);
    EXPECT_GT(CompareIgnoringCase("b", "A"), 0);
    EXPECT_LT(CompareIgnoringCase("ab", "abc"), 0);
    // Compared in lower case: the underscore sorts before the letters.
    EXPECT_LT(CompareIgnoringCase("_x", "Ax"), 0);
    EXPECT_TRUE(StartsWithIgnoringCase("c:\\data", "C:"));
    EXPECT_FALSE(StartsWithIgnoringCase("D:\\data", "C:"));
    EXPECT_FALSE(StartsWithIgnoringCase("C", "C:"));
}

TEST(FolderPaths, FoldersSortAscendingWithoutRegardToCaseAndEqualNamesKeepTheirOrder)
{
    std::vector<std::string> paths = {"C:\\gamma", "C:\\Beta", "C:\\alpha", "C:\\BETA", "C:\\Alpha2", "C:\\beta"};
    SortFoldersIgnoringCase(paths);
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\alpha", "C:\\Alpha2", "C:\\Beta", "C:\\BETA", "C:\\beta",
                                               "C:\\gamma"}));
    std::vector<std::string> one = {"C:\\x"};
    SortFoldersIgnoringCase(one);
    EXPECT_EQ(one.size(), 1u);
}
