// The thin layer counts its calls and fails the one a test names.
#include "support/WineHost.h"
#include "win/CallCounter.h"
#include "win/Files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>

TEST(FaultInjection, FailsExactlyTheNamedCallWithItsErrorCode)
{
    qztest::ScratchFolder folder("fault");
    qztest::WriteFileText(folder / "a.txt", "a");
    win::ResetCalls();
    win::FailCall(win::Op::FileCopy, 2, ERROR_DISK_FULL);

    EXPECT_TRUE(win::CopyFileReplacing(folder / "a.txt", folder / "b.txt"));
    EXPECT_FALSE(win::CopyFileReplacing(folder / "a.txt", folder / "c.txt"));
    EXPECT_EQ(win::LastError(), static_cast<unsigned long>(ERROR_DISK_FULL));
    EXPECT_FALSE(qztest::Exists(folder / "c.txt"));
    EXPECT_TRUE(win::CopyFileReplacing(folder / "a.txt", folder / "d.txt"));
    EXPECT_EQ(win::CallCount(win::Op::FileCopy), 3u);
    win::ResetCalls();
}

TEST(DirectorySearch, ReportsAttributesAsWholeValues)
{
    qztest::ScratchFolder folder("search");
    qztest::MakeDirectories(folder / "plain");
    qztest::MakeDirectories(folder / "hidden");
    qztest::SetAttributes(folder / "hidden", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    qztest::WriteFileText(folder / "ro.txt", "x");
    qztest::SetAttributes(folder / "ro.txt", FILE_ATTRIBUTE_READONLY);

    std::map<std::string, unsigned long> seen;
    win::DirectorySearch search(folder / "*.*");
    win::FoundEntry entry;
    while (search.Next(entry))
        seen[entry.name] = entry.attributes;
    EXPECT_EQ(seen["plain"], 16u);
    EXPECT_EQ(seen["hidden"], 18u);
    EXPECT_EQ(seen["ro.txt"], 33u);
    qztest::SetAttributes(folder / "ro.txt", FILE_ATTRIBUTE_NORMAL);
}
