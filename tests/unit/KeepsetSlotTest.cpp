#include "keepset/KeepsetSlot.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> OtherDirectories(int count)
{
    std::vector<std::string> paths;
    for (int n = 1; n <= count; ++n)
        paths.push_back("E:\\other" + std::to_string(n));
    return paths;
}

}  // namespace

TEST(KeepsetSlot, FirstSaveEverTakesSlotOneAndKeepsItsCase)
{
    const KeepsetSlot slot = ChooseKeepsetSlot({}, "D:\\Backup\\Mon");
    EXPECT_EQ(slot.number, 1);
    EXPECT_EQ(slot.path, "D:\\Backup\\Mon");
    // A free first entry followed by others is still the first free slot.
    EXPECT_EQ(ChooseKeepsetSlot({"", "E:\\x"}, "D:\\B").path, "D:\\B");
}

TEST(KeepsetSlot, TakesTheFirstFreeSlotWithTheDirectoryLowerCased)
{
    const KeepsetSlot slot = ChooseKeepsetSlot(OtherDirectories(4), "D:\\Backup\\Mon");
    EXPECT_EQ(slot.number, 5);
    EXPECT_EQ(slot.path, "d:\\backup\\mon");

    // The search ends at the first free slot: the same directory further
    // down is not found.
    std::vector<std::string> withHole = OtherDirectories(2);
    withHole.push_back("");
    withHole.push_back("D:\\Backup\\Mon");
    EXPECT_EQ(ChooseKeepsetSlot(withHole, "D:\\Backup\\Mon").number, 3);
}

TEST(KeepsetSlot, TheSameDirectoryInOtherCaseReplacesItsEntry)
{
    std::vector<std::string> paths = OtherDirectories(5);
    paths[2] = "d:\\BACKUP\\mon";
    const KeepsetSlot slot = ChooseKeepsetSlot(paths, "D:\\Backup\\Mon");
    EXPECT_EQ(slot.number, 3);
    EXPECT_EQ(slot.path, "d:\\backup\\mon");

    // Slot 1 holding the same directory: lower-cased as well.
    EXPECT_EQ(ChooseKeepsetSlot({"D:\\B"}, "D:\\B").path, "d:\\b");
    // Only A to Z are folded; other characters compare as they are.
    EXPECT_EQ(ChooseKeepsetSlot({"D:\\\xC4"}, "D:\\\xE4").number, 2);
}

TEST(KeepsetSlot, AFullListReplacesTheLastEntry)
{
    const KeepsetSlot slot = ChooseKeepsetSlot(OtherDirectories(19), "D:\\New");
    EXPECT_EQ(slot.number, 19);
    EXPECT_EQ(slot.path, "d:\\new");
    // Values beyond the nineteenth entry are never looked at.
    std::vector<std::string> more = OtherDirectories(19);
    more.push_back("D:\\New");
    EXPECT_EQ(ChooseKeepsetSlot(more, "D:\\New").number, 19);
    // The same directory in the last entry is found as usual.
    std::vector<std::string> last = OtherDirectories(19);
    last[18] = "D:\\NEW";
    EXPECT_EQ(ChooseKeepsetSlot(last, "D:\\New").number, 19);
}
