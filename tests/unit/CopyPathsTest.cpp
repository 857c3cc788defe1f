#include "save/CopyPaths.h"

#include <gtest/gtest.h>

TEST(CopyPaths, JoinsPlainAndDotted)
{
    EXPECT_EQ(JoinPath("D:\\data", "a.txt"), "D:\\data\\a.txt");
    EXPECT_EQ(JoinPathDotted("E:\\bk", "data"), "E:\\bk.\\data");
    EXPECT_EQ(JoinPathDotted("E:\\", "data"), "E:\\.\\data");
}

TEST(CopyPaths, AdditionalDirectoryWithoutDotIsSearchedWholeAndMirrored)
{
    const AdditionalDirectoryPaths paths = WorkOutAdditionalDirectory("D:\\data\\sub", "E:\\bk");
    EXPECT_EQ(paths.pattern, "D:\\data\\sub\\*.*");
    EXPECT_EQ(paths.sourceDirectory, "D:\\data\\sub");
    EXPECT_EQ(paths.mirror, "E:\\bk.\\data\\sub");
    EXPECT_EQ(MirrorLevels(paths.mirror, 5),
              (std::vector<std::string>{"E:\\bk.\\data\\", "E:\\bk.\\data\\sub"}));
}

TEST(CopyPaths, AdditionalDirectoryEndingInBackslash)
{
    const AdditionalDirectoryPaths paths = WorkOutAdditionalDirectory("D:\\data\\", "E:\\bk");
    EXPECT_EQ(paths.pattern, "D:\\data\\*.*");
    EXPECT_EQ(paths.sourceDirectory, "D:\\data\\");
    EXPECT_EQ(paths.mirror, "E:\\bk.\\data\\");
    // The last level comes twice, with and without the end; the second
    // finds it made.
    EXPECT_EQ(MirrorLevels(paths.mirror, 5), (std::vector<std::string>{"E:\\bk.\\data\\", "E:\\bk.\\data\\"}));
}

TEST(CopyPaths, AdditionalPathWithDotIsAFilePattern)
{
    AdditionalDirectoryPaths paths = WorkOutAdditionalDirectory("D:\\data\\*.txt", "E:\\bk");
    EXPECT_EQ(paths.pattern, "D:\\data\\*.txt");
    EXPECT_EQ(paths.sourceDirectory, "D:\\data\\");
    EXPECT_EQ(paths.mirror, "E:\\bk.\\data\\");

    // A directory with a dot in its name is taken as a pattern too, naming
    // only itself; its mirror is the save directory.
    paths = WorkOutAdditionalDirectory("D:\\my.data", "E:\\bk");
    EXPECT_EQ(paths.pattern, "D:\\my.data");
    EXPECT_EQ(paths.sourceDirectory, "D:\\");
    EXPECT_EQ(paths.mirror, "E:\\bk.\\");
    EXPECT_EQ(MirrorLevels(paths.mirror, 5), (std::vector<std::string>{"E:\\bk.\\"}));

    // Without a backslash past the first character the whole text stays.
    paths = WorkOutAdditionalDirectory("\\a.txt", "E:\\bk");
    EXPECT_EQ(paths.sourceDirectory, "\\a.txt");
    EXPECT_EQ(paths.mirror, "E:\\bk.\\a.txt");
}

TEST(CopyPaths, NetworkPathLosesOneLeadingBackslash)
{
    const AdditionalDirectoryPaths paths = WorkOutAdditionalDirectory("\\\\server\\share\\x", "E:\\bk");
    EXPECT_EQ(paths.pattern, "\\\\server\\share\\x\\*.*");
    EXPECT_EQ(paths.sourceDirectory, "\\\\server\\share\\x");
    EXPECT_EQ(paths.mirror, "E:\\bk.\\\\server\\share\\x");
    EXPECT_EQ(MirrorLevels(paths.mirror, 5),
              (std::vector<std::string>{"E:\\bk.\\\\", "E:\\bk.\\\\server\\", "E:\\bk.\\\\server\\share\\",
                                        "E:\\bk.\\\\server\\share\\x"}));
}

TEST(CopyPaths, ShortAndEmptyPathsStayInBounds)
{
    EXPECT_EQ(PathWithoutRoot(""), "");
    EXPECT_EQ(PathWithoutRoot("D:"), "");
    EXPECT_EQ(PathWithoutRoot("D:\\"), "");
    EXPECT_EQ(PathWithoutRoot("x"), "");
    EXPECT_EQ(PathWithoutRoot("rel\\dir"), "el\\dir");

    const AdditionalDirectoryPaths paths = WorkOutAdditionalDirectory("", "E:\\bk");
    EXPECT_EQ(paths.pattern, "\\*.*");
    EXPECT_EQ(paths.mirror, "E:\\bk.\\");
}
