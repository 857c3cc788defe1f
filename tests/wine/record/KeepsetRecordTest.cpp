// The keepset record against real ini files: the list entry [SaveN] of the
// configuration file and the record file in the save directory.
#include "save/KeepsetRecord.h"
#include "support/WineHost.h"
#include "win/CallCounter.h"
#include "win/Profile.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

const LocalDateTime kFirstSave{2026, 12, 7, 9, 5, 0};
const LocalDateTime kSecondSave{2027, 1, 4, 18, 30, 59};

// The key lines of one section of an ini file, in file order.
Lines SectionLines(const std::string& file, const std::string& section)
{
    Lines keys;
    bool inside = false;
    for (const std::string& line : qztest::ReadLines(file)) {
        if (!line.empty() && line[0] == '[')
            inside = line == "[" + section + "]";
        else if (inside && !line.empty())
            keys.push_back(line);
    }
    return keys;
}

Lines ListEntry(int slot)
{
    return SectionLines(qztest::ConfigFilePath(), "Save" + std::to_string(slot));
}

Lines RecordFile(const std::string& directory)
{
    return qztest::ReadLines(directory + "\\qzkeepset.inf");
}

SaveSettingsRecord EverythingSaved()
{
    SaveSettingsRecord settings;
    settings.SaveMSG = 1;
    settings.OnlySaveAlrMSG = 1;
    settings.SaveDesktop = 1;
    settings.SaveWeb = 1;
    settings.SaveMySql = 1;
    settings.AciveSaveFiles1 = settings.AciveSaveFiles2 = 1;
    settings.AciveSaveFiles3 = settings.AciveSaveFiles4 = 1;
    settings.SaveFiles1 = "E:\\one";
    settings.SaveFiles2 = "E:\\two";
    settings.SaveFiles3 = "E:\\three";
    settings.SaveFiles4 = "E:\\four";
    return settings;
}

SaveSettingsRecord NothingOptionalSaved()
{
    SaveSettingsRecord settings;
    settings.SaveDesktop = 0;
    return settings;
}

class KeepsetRecordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qztest::RemoveConfigFile();
        win::ResetCalls();
    }
    void TearDown() override
    {
        win::ResetCalls();
        qztest::RemoveConfigFile();
    }
};

}  // namespace

TEST_F(KeepsetRecordTest, FirstSaveWritesEveryKeyInOrderAndTheSetOnesToTheRecordFile)
{
    qztest::ScratchFolder folder("record");
    const std::string dir = folder / "Keep\\Mon";
    qztest::MakeDirectories(dir);

    EXPECT_TRUE(WriteKeepsetRecord(dir, EverythingSaved(), kFirstSave));

    const Lines expected = {
        "Path=" + dir, "Date=07.12.2026", "Time=09:05:00", "SaveMsg=1", "SaveAlrMsgOnly=1",
        "SaveDesktop=1", "SaveWeb=1", "SaveMySql=1", "SaveAdd1=E:\\one", "SaveAdd2=E:\\two",
        "SaveAdd3=E:\\three", "SaveAdd4=E:\\four", "State=complete",
    };
    EXPECT_EQ(ListEntry(1), expected);
    Lines record = {"[Save]"};
    record.insert(record.end(), expected.begin(), expected.end());
    EXPECT_EQ(RecordFile(dir), record);
}

TEST_F(KeepsetRecordTest, OptionsNotSetAreZeroInTheListAndAbsentFromTheRecordFile)
{
    qztest::ScratchFolder folder("record");
    const std::string dir = folder / "nodesk";
    qztest::MakeDirectories(dir);
    SaveSettingsRecord settings = NothingOptionalSaved();
    settings.SaveWeb = 5;           // any non-zero value counts as set
    settings.AciveSaveFiles2 = 1;   // additional directory 2 only
    settings.SaveFiles2 = "E:\\two";
    settings.SaveFiles1 = "E:\\inactive";

    EXPECT_TRUE(WriteKeepsetRecord(dir, settings, kFirstSave));

    EXPECT_EQ(ListEntry(1), (Lines{"Path=" + dir, "Date=07.12.2026", "Time=09:05:00", "SaveMsg=0",
                                   "SaveAlrMsgOnly=0", "SaveDesktop=0", "SaveWeb=1", "SaveMySql=0",
                                   "SaveAdd1=", "SaveAdd2=E:\\two", "SaveAdd3=", "SaveAdd4=",
                                   "State=complete"}));
    EXPECT_EQ(RecordFile(dir), (Lines{"[Save]", "Path=" + dir, "Date=07.12.2026", "Time=09:05:00",
                                      "SaveWeb=1", "SaveAdd2=E:\\two", "State=complete"}));
}

TEST_F(KeepsetRecordTest, SavingAgainIntoAListedDirectoryReplacesItsEntryAndItsRecordFile)
{
    qztest::ScratchFolder folder("record");
    const std::string dirs[] = {folder / "a", folder / "b", folder / "Third"};
    for (const std::string& dir : dirs) {
        qztest::MakeDirectories(dir);
        ASSERT_TRUE(WriteKeepsetRecord(dir, EverythingSaved(), kFirstSave));
    }
    // Once slot 1 is taken the directory is listed in lower case.
    EXPECT_EQ(ListEntry(1).front(), "Path=" + dirs[0]);
    EXPECT_EQ(ListEntry(2).front(), "Path=c:\\qztest\\record\\b");
    EXPECT_EQ(ListEntry(3).front(), "Path=c:\\qztest\\record\\third");

    EXPECT_TRUE(WriteKeepsetRecord("C:\\QZTEST\\Record\\THIRD", NothingOptionalSaved(), kSecondSave,
                                   kStateErrors));

    EXPECT_EQ(ListEntry(3), (Lines{"Path=c:\\qztest\\record\\third", "Date=04.01.2027", "Time=18:30:59",
                                   "SaveMsg=0", "SaveAlrMsgOnly=0", "SaveDesktop=0", "SaveWeb=0",
                                   "SaveMySql=0", "SaveAdd1=", "SaveAdd2=", "SaveAdd3=", "SaveAdd4=",
                                   "State=errors"}));
    EXPECT_TRUE(ListEntry(4).empty());
    EXPECT_EQ(ListEntry(1).front(), "Path=" + dirs[0]);
    // The old record file went first: no option of the earlier save is left.
    EXPECT_EQ(RecordFile(dirs[2]), (Lines{"[Save]", "Path=c:\\qztest\\record\\third",
                                          "Date=04.01.2027", "Time=18:30:59", "State=errors"}));
}

TEST_F(KeepsetRecordTest, AFullListReplacesTheNineteenthEntry)
{
    qztest::ScratchFolder folder("record");
    for (int n = 1; n <= 19; ++n)
        win::WriteProfileValue("qzkeepset.ini", "Save" + std::to_string(n), "Path",
                               "E:\\Other" + std::to_string(n));
    const std::string dir = folder / "New";
    qztest::MakeDirectories(dir);

    EXPECT_TRUE(WriteKeepsetRecord(dir, EverythingSaved(), kFirstSave));

    for (int n = 1; n <= 18; ++n)
        EXPECT_EQ(ListEntry(n), Lines{"Path=E:\\Other" + std::to_string(n)}) << n;
    EXPECT_EQ(ListEntry(19).front(), "Path=c:\\qztest\\record\\new");
    EXPECT_EQ(ListEntry(19).size(), 13u);
    EXPECT_TRUE(ListEntry(20).empty());
    EXPECT_EQ(RecordFile(dir)[1], "Path=c:\\qztest\\record\\new");
}

TEST_F(KeepsetRecordTest, ALongDirectorySavedAgainKeepsItsEntry)
{
    qztest::ScratchFolder folder("record");
    const std::string dir = folder / (std::string(90, 'k') + "\\" + std::string(90, 'm'));
    ASSERT_GT(dir.size(), 127u);
    qztest::MakeDirectories(dir);
    ASSERT_TRUE(qztest::Exists(dir));
    win::WriteProfileValue("qzkeepset.ini", "Save1", "Path", "E:\\other");

    EXPECT_TRUE(WriteKeepsetRecord(dir, EverythingSaved(), kFirstSave));
    EXPECT_TRUE(WriteKeepsetRecord(dir, EverythingSaved(), kSecondSave));

    EXPECT_EQ(ListEntry(2).front(), "Path=c:" + dir.substr(2));
    EXPECT_EQ(ListEntry(2)[1], "Date=04.01.2027");
    EXPECT_TRUE(ListEntry(3).empty());
}

TEST_F(KeepsetRecordTest, WhatCouldNotBeWrittenIsReportedAndAnOldRecordFileIsLeftWhole)
{
    qztest::ScratchFolder folder("record");
    const std::string dir = folder / "locked";
    qztest::MakeDirectories(dir);
    ASSERT_TRUE(WriteKeepsetRecord(dir, EverythingSaved(), kFirstSave));
    const std::string oldRecord = qztest::ReadFileText(dir + "\\qzkeepset.inf");

    // The old record file cannot be removed: it stays as it was, while the
    // list entry is written all the same.
    win::FailCall(win::Op::FileDelete, 1, ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(WriteKeepsetRecord(dir, NothingOptionalSaved(), kSecondSave));
    EXPECT_EQ(qztest::ReadFileText(dir + "\\qzkeepset.inf"), oldRecord);
    EXPECT_EQ(ListEntry(1)[1], "Date=04.01.2027");
    EXPECT_EQ(ListEntry(1)[3], "SaveMsg=0");

    // A save directory that is not there.
    win::ResetCalls();
    const std::string missing = folder / "missing";
    EXPECT_FALSE(WriteKeepsetRecord(missing, EverythingSaved(), kFirstSave));
    EXPECT_EQ(ListEntry(2).size(), 13u);
    EXPECT_FALSE(qztest::Exists(missing));

    // One write of the list entry failing.
    win::FailCall(win::Op::ProfileWrite, 5, ERROR_DISK_FULL);
    EXPECT_FALSE(WriteKeepsetRecord(dir, EverythingSaved(), kFirstSave));
    EXPECT_TRUE(WriteKeepsetRecord(dir, EverythingSaved(), kFirstSave));
}

TEST_F(KeepsetRecordTest, ASaveMarksItsEntryRunningAtItsStartAndTheEndWritesTheSameEntry)
{
    qztest::ScratchFolder folder("record");
    const std::string dir = folder / "Keep";
    qztest::MakeDirectories(dir);
    ASSERT_TRUE(WriteKeepsetRecord(dir, EverythingSaved(), kFirstSave));
    const std::string newDir = folder / "New";
    qztest::MakeDirectories(newDir);

    // Saved again: the record file goes, the entry says "running" until the end.
    const KeepsetSlot again = ChooseKeepsetSlotFor(dir);
    EXPECT_TRUE(MarkKeepsetRunning(dir, again, NothingOptionalSaved(), kSecondSave));
    EXPECT_FALSE(qztest::Exists(dir + "\\qzkeepset.inf"));
    EXPECT_EQ(ListEntry(1)[1], "Date=04.01.2027");
    EXPECT_EQ(ListEntry(1).back(), "State=running");

    // A new directory is listed at once, the first save ever keeping its
    // case at the end too, and the end fills in the same entry.
    qztest::RemoveConfigFile();
    const KeepsetSlot first = ChooseKeepsetSlotFor(newDir);
    EXPECT_TRUE(MarkKeepsetRunning(newDir, first, EverythingSaved(), kFirstSave));
    EXPECT_EQ(ListEntry(1).front(), "Path=" + newDir);
    EXPECT_TRUE(WriteKeepsetRecord(newDir, first, EverythingSaved(), kSecondSave, kStateErrors));
    EXPECT_EQ(ListEntry(1).front(), "Path=" + newDir);
    EXPECT_EQ(ListEntry(1).size(), 13u);
    EXPECT_EQ(ListEntry(1).back(), "State=errors");
    EXPECT_EQ(RecordFile(newDir).back(), "State=errors");
    EXPECT_TRUE(ListEntry(2).empty());

    // A record file that cannot be removed makes the mark fail.
    win::FailCall(win::Op::FileDelete, 1, ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(MarkKeepsetRunning(newDir, first, EverythingSaved(), kFirstSave));
}
