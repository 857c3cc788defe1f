// CopyDirectoryTree: which subdirectories it descends into, and that a
// failure anywhere in the tree shows in its result.
#include "CopyTestHost.h"

#include "save/CopyPrimitives.h"
#include "win/CallCounter.h"

using CopyDirectoryTree_ = CopyTest;

TEST_F(CopyDirectoryTree_, CopiesTheTreeButNotDottedOrHiddenSubdirectories)
{
    const std::string htdocs = folder_ / "htdocs";
    const std::string target = folder_ / "bk";
    qztest::WriteFileText(htdocs + "\\inc\\a.php", "a");
    qztest::WriteFileText(htdocs + "\\inc\\sub\\b.php", "b");
    qztest::WriteFileText(htdocs + "\\inc\\sub\\deeper\\c.php", "c");
    qztest::WriteFileText(htdocs + "\\inc\\inc.old\\x.php", "x");
    qztest::WriteFileText(htdocs + "\\inc\\secret\\y.php", "y");
    qztest::SetAttributes(htdocs + "\\inc\\secret", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    qztest::MakeDirectories(target);

    // The hidden directory is offered to the copy as a file and fails.
    EXPECT_EQ(CopyDirectoryTree(htdocs, "inc", target), 1);

    EXPECT_EQ(qztest::ReadFileText(target + "\\inc\\a.php"), "a");
    EXPECT_EQ(qztest::ReadFileText(target + "\\inc\\sub\\b.php"), "b");
    EXPECT_EQ(qztest::ReadFileText(target + "\\inc\\sub\\deeper\\c.php"), "c");
    EXPECT_FALSE(qztest::Exists(target + "\\inc\\inc.old"));
    EXPECT_FALSE(qztest::Exists(target + "\\inc\\secret\\y.php"));
    const std::string source = htdocs + ".\\inc";
    const std::string copy = target + ".\\inc";
    EXPECT_EQ(window_.Texts(0),
              Sorted({source + "\\a.php saved to " + copy + "\\a.php",
                      source + ".\\sub\\b.php saved to " + copy + ".\\sub\\b.php",
                      source + ".\\sub.\\deeper\\c.php saved to " + copy + ".\\sub.\\deeper\\c.php"}));
    EXPECT_EQ(window_.Texts(1),
              std::vector<std::string>{"FAILED to save " + source + "\\secret to " + copy + "\\secret !"});
}

TEST_F(CopyDirectoryTree_, FailureDeepInTheTreeFailsTheWholeCall)
{
    const std::string htdocs = folder_ / "htdocs";
    const std::string target = folder_ / "bk";
    qztest::WriteFileText(htdocs + "\\ini\\a.ini", "a");
    qztest::WriteFileText(htdocs + "\\ini\\one\\two\\deep.ini", "deep");
    qztest::MakeDirectories(target);
    // Another program holds the deep file open without sharing it.
    const HANDLE held = CreateFileA((htdocs + "\\ini\\one\\two\\deep.ini").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    const int result = CopyDirectoryTree(htdocs, "ini", target);
    CloseHandle(held);

    EXPECT_EQ(result, 1);
    EXPECT_EQ(qztest::ReadFileText(target + "\\ini\\a.ini"), "a");
    EXPECT_TRUE(qztest::Exists(target + "\\ini\\one\\two"));
    EXPECT_FALSE(qztest::Exists(target + "\\ini\\one\\two\\deep.ini"));
    EXPECT_EQ(window_.Texts(1).size(), 1u);

    // Without the failure the same tree copies cleanly.
    EXPECT_EQ(CopyDirectoryTree(htdocs, "ini", target), 0);
    EXPECT_EQ(qztest::ReadFileText(target + "\\ini\\one\\two\\deep.ini"), "deep");
}

TEST_F(CopyDirectoryTree_, MissingSourceStillCreatesTheTargetDirectory)
{
    qztest::MakeDirectories(folder_ / "htdocs");
    qztest::MakeDirectories(folder_ / "bk");
    EXPECT_EQ(CopyDirectoryTree(folder_ / "htdocs", "include", folder_ / "bk"), 0);
    EXPECT_TRUE(qztest::Exists(folder_ / "bk\\include"));
    EXPECT_TRUE(window_.Reports().empty());
    EXPECT_TRUE(boxes_.empty());

    // A target directory that cannot be created fails the tree, even with
    // nothing to copy into it.
    win::FailCall(win::Op::DirectoryCreate, 1, ERROR_DISK_FULL);
    EXPECT_EQ(CopyDirectoryTree(folder_ / "htdocs", "ini", folder_ / "bk"), 1);
    EXPECT_EQ(window_.Texts(1), std::vector<std::string>{"Failed to create directory " + folder_.Path() +
                                                         "\\bk.\\ini !"});
}

TEST_F(CopyDirectoryTree_, TargetBeyond127CharactersIsOneFailureNotAShortenedCopy)
{
    const std::string htdocs = folder_ / "htdocs";
    qztest::WriteFileText(htdocs + "\\inc\\a.php", "a");
    // Target parent + ".\inc" is 128 characters.
    const std::string parent = folder_ / std::string(128 - 5 - (folder_.Path().size() + 1), 'p');
    ASSERT_EQ((parent + ".\\inc").size(), 128u);
    qztest::MakeDirectories(parent);
    win::ResetCalls();

    EXPECT_EQ(CopyDirectoryTree(htdocs, "inc", parent), 1);
    EXPECT_EQ(win::CallCount(win::Op::DirectoryCreate), 0u);
    EXPECT_EQ(win::CallCount(win::Op::FileCopy), 0u);
    EXPECT_EQ(window_.Texts(1), std::vector<std::string>{"FAILED to save " + htdocs + ".\\inc to " + parent +
                                                         ".\\inc !"});
    EXPECT_EQ(LogTexts(), window_.Texts(1));
}
