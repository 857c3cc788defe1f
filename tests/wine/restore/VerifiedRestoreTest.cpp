// A restore never puts damaged data over a good installation: keepsets
// with a manifest are checked before anything is touched and file by file,
// every file is replaced in one step or not at all, and a keepset that was
// not saved to its end is restored only when the user says so.
#include "RestoreFixture.h"

#include "config/LowerCase.h"

#include <windows.h>

#include <map>
#include <string>

namespace restoretest {
namespace {

const char kDamagedQuestionStart[] = " files of the keepset are missing or changed since the save, the first: ";

// The installation as the keepset holds it ("new") and as it is before the
// restore ("old"), by path below Q:\ (the Windows directory's file by its
// bare name).
struct Bytes {
    std::string saved;
    std::string live;
};
using Installation = std::map<std::string, Bytes>;

const Installation kFiles = {
    {"qzt\\a.qzt", {"new tool a", "old tool a, longer"}},
    {"qzt\\b.bat", {"new batch", "old batch"}},
    {"db1\\vm001.dbf", {"new alarm configuration", "old alarm configuration"}},
    {"dbv1\\v1_1.vox", {std::string(70000, 'v'), std::string(5000, 'o')}},
    {"dbv1\\v2_1.vox", {"new voice 2", "old voice 2"}},
};

class VerifiedRestoreTest : public RestoreTest {
protected:
    void SetUp() override
    {
        RestoreTest::SetUp();
        for (const auto& file : kFiles)
            Saved(file.first, file.second.saved);
        Saved("win\\qzrestoretest.ini", "[New]\r\n");
        Record("SaveMsg=1\r\nState=complete\r\n");
        WriteManifest();
        PutBackOldFiles();
    }

    void PutBackOldFiles()
    {
        for (const auto& file : kFiles) {
            qztest::WriteFileText(install_ / file.first, file.second.live);
            for (const std::string& name : Temporaries(install_ / file.first.substr(0, file.first.find('\\'))))
                qztest::RemoveTree(install_ / (file.first.substr(0, file.first.find('\\')) + "\\" + name));
        }
        qztest::WriteFileText(WindowsFile("qzrestoretest.ini"), "[Old]\r\n");
        win::ResetCalls();
        boxes_.clear();
        host_.events.clear();
        qztest::RemoveTree("Q:\\work\\log\\qzkeepset.log");
    }

    // Every live file is its old or its new bytes; the number of new ones.
    int CheckOldOrNew(const std::string& context)
    {
        int restored = 0;
        for (const auto& file : kFiles) {
            const std::string bytes = Installed(file.first);
            EXPECT_TRUE(bytes == file.second.saved || bytes == file.second.live)
                << context << ": " << file.first << " holds " << bytes.size() << " bytes of neither version";
            restored += bytes == file.second.saved ? 1 : 0;
        }
        return restored;
    }
};

// The restore fails at the Nth call of one kind, for every N until the run
// no longer makes that many (a copy also cut half-way): each live file is
// its old or its new bytes, never a mix, no temporary copy or directory
// stays behind, and a run that left any file old does not end with the
// success box.
TEST_F(VerifiedRestoreTest, FailingAtEveryFileOperation)
{
    warningAnswer_ = win::kAnswerYes;  // restore the intact files
    const struct {
        win::Op op;
        const char* name;
        bool torn;
        bool moveFailsFirst;  // so that the Nth removal of a temporary copy can fail
    } sweeps[] = {
        {win::Op::FileCopy, "copy", false, false},       {win::Op::FileCopy, "torn copy", true, false},
        {win::Op::FileHash, "hash", false, false},       {win::Op::FileMove, "move", false, false},
        {win::Op::FindFirst, "search", false, false},    {win::Op::FindNext, "search next", false, false},
        {win::Op::FileCopyChunk, "copy chunk", false, false}, {win::Op::FileRead, "read", false, false},
        {win::Op::FileDelete, "delete", false, true},    {win::Op::DirectoryCreate, "make directory", false, false},
        {win::Op::DirectoryRemove, "remove directory", false, false},
    };
    int runs = 0;
    for (const auto& sweep : sweeps) {
        for (unsigned long n = 1;; ++n) {
            PutBackOldFiles();
            if (sweep.moveFailsFirst)
                win::FailCall(win::Op::FileMove, 1, ERROR_SHARING_VIOLATION);
            if (sweep.torn)
                win::FailCallTorn(sweep.op, n, ERROR_DISK_FULL);
            else
                win::FailCall(sweep.op, n, ERROR_DISK_FULL);
            Run(Custom(OtherRoot(), {{AlarmConfiguration, true}, {QztDirectory, true}, {VoiceMessages, true}}));
            ++runs;
            const std::string context = std::string(sweep.name) + " call " + std::to_string(n);
            const bool fired = win::CallCount(sweep.op) >= n;
            const int restored = CheckOldOrNew(context);
            if (restored < static_cast<int>(kFiles.size()))
                EXPECT_EQ(Summary(), kErrorsText) << context;
            // One failure to remove is tried again: nothing stays behind.
            for (const auto& file : kFiles)
                EXPECT_EQ(Temporaries(install_ / file.first.substr(0, file.first.find('\\'))), Lines{})
                    << context << ": beside " << file.first;
            if (!fired)
                break;
        }
    }
    // Without any failure everything comes back.
    PutBackOldFiles();
    EXPECT_TRUE(Run(Custom(OtherRoot(), {{AlarmConfiguration, true}, {QztDirectory, true}, {VoiceMessages, true}})));
    EXPECT_EQ(CheckOldOrNew("no failure"), static_cast<int>(kFiles.size()));
    EXPECT_EQ(Summary(), kSuccessText);
    EXPECT_GT(runs, 30);
}

// Missing, cut and altered files, a file the manifest does not list and
// win folder files a save never writes: the question names the damage, No
// touches nothing, Yes restores only what is intact and says what is not.
TEST_F(VerifiedRestoreTest, ADamagedKeepsetRestoresNothingDamaged)
{
    const std::string root = keep_.Path();
    qztest::RemoveTree(keep_ / "db1\\vm001.dbf");
    qztest::WriteFileText(keep_ / "dbv1\\v1_1.vox", std::string(100, 'v'));  // cut short
    qztest::WriteFileText(keep_ / "qzt\\b.bat", "NEW batch");                 // same size, other bytes
    Saved("qzt\\planted.bat", "not saved");
    Saved("win\\system.ini", "[boot]\r\n");
    Saved("win\\evil.dll", "MZ");
    win::ResetCalls();

    EXPECT_FALSE(Run(OtherRoot()));

    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[1].text, "2" + std::string(kDamagedQuestionStart) + root +
                                  ".\\db1\\vm001.dbf\nRestore only the intact files?");
    EXPECT_EQ(boxes_[1].style, win::kBoxYesNo | win::kBoxIconWarning | win::kBoxSecondDefault);
    EXPECT_EQ(CheckOldOrNew("answered No"), 0);
    EXPECT_EQ(qztest::ReadFileText(WindowsFile("qzrestoretest.ini")), "[Old]\r\n");
    EXPECT_EQ(win::CallCount(win::Op::FileCopy), 0u);
    EXPECT_EQ(LogTexts().back(),
              "Nothing restored: 2 files of the keepset are missing or changed, the first " + root + ".\\db1\\vm001.dbf");
    EXPECT_EQ(host_.events, (Lines{"wait", "arrow"}));

    boxes_.clear();
    host_.events.clear();
    warningAnswer_ = win::kAnswerYes;
    EXPECT_TRUE(Run(OtherRoot()));

    EXPECT_EQ(Installed("qzt\\a.qzt"), "new tool a");
    EXPECT_EQ(Installed("dbv1\\v2_1.vox"), "new voice 2");
    EXPECT_EQ(qztest::ReadFileText(WindowsFile("qzrestoretest.ini")), "[New]\r\n");
    EXPECT_EQ(Installed("qzt\\b.bat"), "old batch");
    EXPECT_EQ(Installed("db1\\vm001.dbf"), "old alarm configuration");
    EXPECT_EQ(Installed("dbv1\\v1_1.vox"), std::string(5000, 'o'));
    EXPECT_FALSE(IsInstalled("qzt\\planted.bat"));
    EXPECT_FALSE(qztest::Exists(WindowsFile("system.ini")) &&
                 qztest::ReadFileText(WindowsFile("system.ini")) == "[boot]\r\n");
    EXPECT_FALSE(qztest::Exists(WindowsFile("evil.dll")));
    EXPECT_EQ(Temporaries(install_ / "qzt"), Lines{});
    for (const std::string& text :
         {"FAILED to restore " + root + ".\\qzt\\b.bat to \\qzt\\b.bat ! (the copy does not match the keepset's manifest)",
          LeftOut(1, root + ".\\qzt\\planted.bat"),
          "FAILED to restore " + root + ".\\db1\\vm001.dbf to \\db1\\vm001.dbf ! (missing from the keepset)",
          "FAILED to restore " + root + ".\\dbv1\\v1_1.vox to \\dbv1\\v1_1.vox ! (changed in the keepset: its size is "
                                        "not the one the manifest lists)",
          "Not restored: " + root + ".\\win\\system.ini (a save puts only the configuration ini files into the win folder)",
          "Not restored: " + root + ".\\win\\evil.dll (a save puts only the configuration ini files into the win folder)"})
        EXPECT_TRUE(Logged(text)) << text;
    EXPECT_EQ(Summary(), kErrorsText);
    EXPECT_EQ(host_.events, (Lines{"wait", "arrow", "close"}));
}

// A save into a reused keepset directory leaves the files of earlier saves
// there, outside its manifest: they are left out, once named, and are no
// failure.
TEST_F(VerifiedRestoreTest, FilesOfAnEarlierSaveAreLeftOut)
{
    const std::string root = keep_.Path();
    Saved("qzt\\old.bat", "an earlier save's");
    Saved("dbv1\\v9_1.vox", "an earlier save's");

    EXPECT_TRUE(Run(Custom(OtherRoot(), {{QztDirectory, true}, {VoiceMessages, true}})));

    EXPECT_EQ(Summary(), kSuccessText);
    EXPECT_FALSE(IsInstalled("qzt\\old.bat"));
    EXPECT_FALSE(IsInstalled("dbv1\\v9_1.vox"));
    EXPECT_EQ(Installed("qzt\\a.qzt"), "new tool a");
    EXPECT_EQ(LogTexts().back(), LeftOut(2, root + ".\\qzt\\old.bat"));
    EXPECT_EQ(LoggedLinesStartingWith("Left out"), 1u);
}

// A keepset of an earlier version has no manifest: one line says it cannot
// be verified, and its files still replace the live ones in one step. A
// keepset of a save that did not end well and has no manifest, or one whose
// manifest cannot be read, restores nothing.
TEST_F(VerifiedRestoreTest, KeepsetsWithoutOrWithAnUnreadableManifest)
{
    const std::string root = keep_.Path();
    qztest::RemoveTree(keep_ / "qzkeepset.sha256");
    EXPECT_TRUE(Run(Custom(OtherRoot(), {{QztDirectory, true}})));
    EXPECT_EQ(LogTexts()[1], "The keepset cannot be verified: it has no manifest " + root +
                                 ".\\qzkeepset.sha256; its files are restored unchecked");
    EXPECT_EQ(Installed("qzt\\a.qzt"), "new tool a");
    // Each copy is hashed as it is written, and checked against nothing.
    EXPECT_EQ(win::CallCount(win::Op::FileHash), win::CallCount(win::Op::FileCopy));
    EXPECT_EQ(win::CallCount(win::Op::FileMove), 2u);

    // A save that did not end well and wrote no manifest: its cut or empty
    // copies cannot be told from whole ones, so nothing is restored.
    warningAnswer_ = win::kAnswerYes;
    for (const char* state : {"running", "errors"}) {
        Record(std::string("SaveMsg=1\r\nState=") + state + "\r\n");
        PutBackOldFiles();
        EXPECT_FALSE(Run(Custom(OtherRoot(), {{QztDirectory, true}}))) << state;
        EXPECT_EQ(Installed("qzt\\a.qzt"), "old tool a, longer") << state;
        EXPECT_EQ(LogTexts().back(), "FAILED to verify the keepset: its save did not end well and it has no manifest " +
                                         root + ".\\qzkeepset.sha256: nothing is restored");
        EXPECT_EQ(Summary(), kErrorsText);
    }
    Record("SaveMsg=1\r\nState=complete\r\n");

    WriteManifest();
    PutBackOldFiles();
    win::FailCall(win::Op::FileRead, 1, ERROR_ACCESS_DENIED);
    EXPECT_FALSE(Run(OtherRoot()));
    EXPECT_EQ(CheckOldOrNew("unreadable manifest"), 0);
    EXPECT_EQ(LogTexts().back(),
              "FAILED to read the keepset's manifest " + root + ".\\qzkeepset.sha256 (error 5): nothing is restored");
    EXPECT_EQ(Summary(), kErrorsText);
}

// The record of a save that did not end, or ended with errors, brings a
// question before anything else; No (the default) leaves all as it was.
TEST_F(VerifiedRestoreTest, AnIncompleteKeepsetIsRestoredOnlyWhenConfirmed)
{
    const std::string root = keep_.Path();
    const struct {
        const char* state;
        std::string question;  // empty: none
    } cases[] = {
        {"running", "The save into the keepset directory " + root +
                        " did not end: the keepset is INCOMPLETE and may hold cut or missing files.\nRestore from it "
                        "anyway?"},
        {"errors", "The save into the keepset directory " + root +
                       " ended WITH ERRORS: files may be missing from the keepset.\nRestore from it anyway?"},
        {"complete", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        Record(std::string("SaveMsg=1\r\nState=") + c.state + "\r\n");
        for (int answer : {win::kAnswerNo, win::kAnswerYes}) {
            PutBackOldFiles();
            warningAnswer_ = answer;
            const bool restored = Run(Custom(OtherRoot(), {{QztDirectory, true}}));
            const bool asked = !c.question.empty();
            ASSERT_FALSE(boxes_.empty());
            if (asked) {
                EXPECT_EQ(boxes_[0].text, c.question);
                EXPECT_EQ(boxes_[0].style, win::kBoxYesNo | win::kBoxIconWarning | win::kBoxSecondDefault);
            }
            const bool goesOn = !asked || answer == win::kAnswerYes;
            EXPECT_EQ(restored, goesOn) << c.state;
            EXPECT_EQ(boxes_.size(), goesOn ? (asked ? 3u : 2u) : 1u) << c.state;
            EXPECT_EQ(Installed("qzt\\a.qzt"), goesOn ? "new tool a" : "old tool a, longer") << c.state;
        }
    }

    // A directory whose save died has no record; the one "Select" writes
    // has no state, and the list entry of the directory tells it.
    Record("SaveMsg=1\r\n");
    Config("[Save1]\r\nPath=" + LowerCase(root) + "\r\nState=running\r\n");
    PutBackOldFiles();
    warningAnswer_ = win::kAnswerNo;
    EXPECT_FALSE(Run(Custom(OtherRoot(), {{QztDirectory, true}})));
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, cases[0].question);
}

}  // namespace
}  // namespace restoretest
