// The keepset record against real ini files: the list entry [SaveN] of the
// configuration file and the record file in the save directory.
#include "config/ConfigFile.h"
#include "config/ProfileFileUpdate.h"
#include "keepset/KeepsetRecord.h"
#include "support/FaultSweep.h"
#include "support/ProfileFiles.h"
#include "support/WineHost.h"
#include "win/CallCounter.h"
#include "win/Profile.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

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

    KeepsetSlot third;
    ASSERT_TRUE(ChooseKeepsetSlotFor("C:\\QZTEST\\Record\\THIRD", third));
    EXPECT_TRUE(WriteKeepsetRecord("C:\\QZTEST\\Record\\THIRD", third, NothingOptionalSaved(), kSecondSave,
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

// A configuration file as an installation that saved for a while holds:
// every slot taken, settings in front, a key the profile functions only
// read (blanks around "=", a comment line).
std::string LargeConfiguration()
{
    std::string text = "[Config]\r\nSaveMSG=1\r\nWebHtdocsPath = C:\\qz_web\\htdocs\r\n; kept by hand\r\n"
                       "LastKeepsetDir=E:\\keep\\DD\r\n[MySQL]\r\nDumpDatabase=a,b,c,\r\n";
    for (int n = 1; n <= 19; ++n) {
        const std::string number = std::to_string(n);
        text += "[Save" + number + "]\r\nPath=E:\\keep\\" + number + "\r\nDate=0" + number.substr(0, 1) +
                ".12.2026\r\nTime=09:05:00\r\nSaveMsg=1\r\nSaveAlrMsgOnly=0\r\nSaveDesktop=1\r\nSaveWeb=0\r\n"
                "SaveMySql=0\r\nSaveAdd1=" + std::string(100, 'a') + "\r\nSaveAdd2=\r\nSaveAdd3=\r\nSaveAdd4=\r\n";
    }
    return text;
}

TEST_F(KeepsetRecordTest, EveryFailedWriteOrMoveLeavesEachFileOldOrNewAndNamesTheFile)
{
    qztest::ScratchFolder folder("record");
    const std::string dir = folder / "keep";
    qztest::MakeDirectories(dir);
    const std::string config = qztest::ConfigFilePath();
    const std::string oldConfig = LargeConfiguration();
    const std::string oldRecord = "[Save]\r\nPath=" + dir + "\r\nSaveWeb=1\r\n";
    ASSERT_GT(oldConfig.size(), 4096u);

    // A clean write first: the new files, and how many calls it takes.
    qztest::WriteProfileFile(config, oldConfig);
    qztest::WriteProfileFile(dir + "\\qzkeepset.inf", oldRecord);
    win::ResetCalls();
    std::string failedFile;
    ASSERT_TRUE(WriteKeepsetRecord(dir, EverythingSaved(), kFirstSave, &failedFile));
    ASSERT_GE(win::CallCount(win::Op::ProfileWrite), 20u);
    ASSERT_EQ(win::CallCount(win::Op::FileMove), 2u);
    qztest::ProfileContent newConfig = qztest::ReadProfileContent(config);
    EXPECT_EQ(newConfig["Save19"]["Path"], "c:\\qztest\\record\\keep");
    EXPECT_EQ(newConfig["Save18"]["SaveAdd1"], std::string(100, 'a'));
    EXPECT_EQ(win::ReadProfileString(kConfigFile, "Config", "WebHtdocsPath", "", 79), "C:\\qz_web\\htdocs");
    const std::string newRecord = qztest::ReadFileText(dir + "\\qzkeepset.inf");

    // Every write of a key, every move into place, every copy and flush,
    // the read of the old file: each failing in turn.
    // A write may also be torn: part of it on the disk, then the failure.
    // The lock across processes, which every update holds, may not be had.
    struct Fault {
        win::Op op;
        unsigned long count;
        unsigned long error;
        bool torn;
    };
    const Fault faults[] = {{win::Op::ProfileWrite, win::CallCount(win::Op::ProfileWrite), ERROR_DISK_FULL, false},
                            {win::Op::FileMove, win::CallCount(win::Op::FileMove), ERROR_ACCESS_DENIED, false},
                            {win::Op::FileWrite, win::CallCount(win::Op::FileWrite), ERROR_DISK_FULL, false},
                            {win::Op::FileWrite, win::CallCount(win::Op::FileWrite), ERROR_DISK_FULL, true},
                            {win::Op::FileRead, win::CallCount(win::Op::FileRead), ERROR_SHARING_VIOLATION, false},
                            {win::Op::MutexCreate, win::CallCount(win::Op::MutexCreate), ERROR_ACCESS_DENIED, false},
                            {win::Op::MutexWait, win::CallCount(win::Op::MutexWait), ERROR_TIMEOUT, false}};
    ASSERT_EQ(win::CallCount(win::Op::MutexWait), 2u);
    for (const Fault& fault : faults) {
        for (unsigned long n = 1; n <= fault.count; ++n) {
            SCOPED_TRACE(std::string(qztest::OpName(fault.op)) + (fault.torn ? " torn" : "") + " call " +
                         std::to_string(n));
            qztest::WriteProfileFile(config, oldConfig);
            qztest::WriteProfileFile(dir + "\\qzkeepset.inf", oldRecord);
            win::ResetCalls();
            if (fault.torn)
                win::FailCallTorn(fault.op, n, fault.error);
            else
                win::FailCall(fault.op, n, fault.error);
            failedFile.clear();

            EXPECT_FALSE(WriteKeepsetRecord(dir, EverythingSaved(), kFirstSave, &failedFile));

            const std::string configNow = qztest::ReadFileText(config);
            const std::string recordNow = qztest::ReadFileText(dir + "\\qzkeepset.inf");
            // The configuration file goes first: while it fails the record
            // file is not touched either.
            if (failedFile == config) {
                EXPECT_EQ(configNow, oldConfig);
                EXPECT_EQ(recordNow, oldRecord);
            } else {
                // The entry may not call a keepset without its record complete.
                EXPECT_EQ(failedFile, dir + ".\\qzkeepset.inf");
                qztest::ProfileContent withErrors = newConfig;
                withErrors["Save19"]["State"] = "errors";
                EXPECT_EQ(qztest::ReadProfileContent(config), withErrors);
                EXPECT_EQ(recordNow, oldRecord);
            }
            EXPECT_EQ(qztest::TemporaryFilesIn(qztest::WindowsDir()), std::vector<std::string>{});
            EXPECT_EQ(qztest::TemporaryFilesIn(dir), std::vector<std::string>{});
        }
    }
    EXPECT_EQ(qztest::ReadFileText(dir + "\\qzkeepset.inf"), oldRecord);
    win::ResetCalls();
    // A save directory that is not there: its entry is listed, its record
    // file cannot be written.
    const std::string missing = folder / "missing";
    EXPECT_FALSE(WriteKeepsetRecord(missing, EverythingSaved(), kFirstSave, &failedFile));
    EXPECT_EQ(failedFile, missing + ".\\qzkeepset.inf");
    EXPECT_FALSE(qztest::Exists(missing));
    EXPECT_TRUE(WriteKeepsetRecord(dir, EverythingSaved(), kFirstSave));
    EXPECT_EQ(qztest::ReadFileText(dir + "\\qzkeepset.inf"), newRecord);
}

// What the profile functions of a full disk do: they report success for a
// file they wrote only in part. The update reads its copy back and keeps
// the file as it was. (The cut is made by hand here, as a process killed
// while writing would leave it.)
TEST_F(KeepsetRecordTest, ACopyCutShortNeverReplacesTheFile)
{
    const std::string config = qztest::ConfigFilePath();
    const std::string old = LargeConfiguration();
    for (long cut : {4096L, -5L, 0L}) {
        SCOPED_TRACE(cut);
        qztest::WriteProfileFile(config, old);
        ProfileFileUpdate update(kConfigFile);
        update.Write("Save19", "Date", "08.12.2026");
        const std::string written = qztest::ReadFileText(update.CopyPath());
        const std::size_t at = static_cast<std::size_t>(cut < 0 ? static_cast<long>(written.size()) + cut : cut);
        ASSERT_GT(written.size(), at);
        qztest::WriteProfileFile(update.CopyPath(), written.substr(0, at));
        EXPECT_FALSE(update.Commit());
        EXPECT_EQ(qztest::ReadFileText(config), old);
    }
    EXPECT_EQ(qztest::TemporaryFilesIn(qztest::WindowsDir()), std::vector<std::string>{});
}

// The program runs as an administrator beside folders others may write:
// nothing planted under a name an update might use is written through or
// moved into place, and what an operator set on the file stays set.
TEST_F(KeepsetRecordTest, AnUpdateUsesANameOfItsOwnAndKeepsTheFilesProtection)
{
    const std::string config = qztest::ConfigFilePath();
    qztest::WriteProfileFile(config, LargeConfiguration());
    // The fixed name the update once used, and the next names this process
    // would give its copy, taken by folders and a file.
    qztest::MakeDirectories(config + ".new");
    const std::string next = config + "." + std::to_string(GetCurrentProcessId()) + "-";
    std::vector<std::string> planted;
    {
        ProfileFileUpdate probe(kConfigFile);
        const std::string name = probe.CopyPath();
        const unsigned long number = std::stoul(name.substr(next.size()));
        for (unsigned long n = number + 1; n <= number + 3; ++n)
            planted.push_back(next + std::to_string(n) + ".tmp");
    }
    qztest::MakeDirectories(planted[0]);
    qztest::MakeDirectories(planted[1]);
    qztest::WriteFileText(planted[2], "planted");
    // Hidden and system, and an access list of the operator's: the
    // administrators and the system account only.
    ASSERT_TRUE(SetFileAttributesA(config.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    PSECURITY_DESCRIPTOR restricted = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;FA;;;BA)(A;;FA;;;SY)", SDDL_REVISION_1,
                                                                     &restricted, nullptr));
    const bool aclSet = SetFileSecurityA(config.c_str(), DACL_SECURITY_INFORMATION, restricted) != 0;
    LocalFree(restricted);
    auto accessList = [&config]() {
        char buffer[4096] = {};
        DWORD needed = 0;
        char* text = nullptr;
        std::string result;
        if (GetFileSecurityA(config.c_str(), DACL_SECURITY_INFORMATION, buffer, sizeof buffer, &needed) &&
            ConvertSecurityDescriptorToStringSecurityDescriptorA(buffer, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                                 &text, nullptr)) {
            result = text;
            LocalFree(text);
        }
        return result;
    };
    const std::string aclBefore = accessList();

    KeepsetSlot slot;
    ASSERT_TRUE(ChooseKeepsetSlotFor("C:\\QZTEST\\Record\\Planted", slot));
    EXPECT_TRUE(MarkKeepsetRunning("C:\\QZTEST\\Record\\Planted", slot, EverythingSaved(), kFirstSave));
    EXPECT_EQ(qztest::ReadProfileContent(config)["Save19"]["State"], "running");
    EXPECT_EQ(GetFileAttributesA(config.c_str()) & ~DWORD(FILE_ATTRIBUTE_ARCHIVE),
              DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(qztest::ReadFileText(planted[2]), "planted");
    EXPECT_EQ(GetFileAttributesA((config + ".new").c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesA(planted[0].c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY));
    // Only what the update made is gone: the planted entries stay.
    EXPECT_EQ(qztest::TemporaryFilesIn(qztest::WindowsDir()), std::vector<std::string>{planted[2]});
    qztest::RemoveTree(config + ".new");
    qztest::RemoveTree(planted[0]);
    qztest::RemoveTree(planted[1]);
    DeleteFileA(planted[2].c_str());
    SetFileAttributesA(config.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!aclSet || aclBefore.find("BA") == std::string::npos)
        GTEST_SKIP() << "this Wine keeps no access list on a file (" << aclBefore << "); Windows' replace call "
                     << "and the copy of the list keep it";
    EXPECT_EQ(accessList(), aclBefore);
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
    KeepsetSlot again;
    ASSERT_TRUE(ChooseKeepsetSlotFor(dir, again));
    EXPECT_TRUE(MarkKeepsetRunning(dir, again, NothingOptionalSaved(), kSecondSave));
    EXPECT_FALSE(qztest::Exists(dir + "\\qzkeepset.inf"));
    EXPECT_EQ(ListEntry(1)[1], "Date=04.01.2027");
    EXPECT_EQ(ListEntry(1).back(), "State=running");

    // A new directory is listed at once, the first save ever keeping its
    // case at the end too, and the end fills in the same entry.
    qztest::RemoveConfigFile();
    KeepsetSlot first;
    ASSERT_TRUE(ChooseKeepsetSlotFor(newDir, first));
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
