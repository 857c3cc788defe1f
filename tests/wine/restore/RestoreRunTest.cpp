// The run as the restore dialog starts it: source checks, confirmation,
// full and custom restores, and the summary it ends with.
#include "RestoreFixture.h"

#include <windows.h>

#include <string>

namespace restoretest {
namespace {

const std::string kBinary("MZ\0\x01\r\n\x1a\xff end", 12);

std::string Confirmation(const std::string& root)
{
    return "Restore data from the previous keepset directory: " + root +
           " ?\nPlease close all configuration tools ( alarm control center, alarm configurator and personnel "
           "editor ) first.\nPlease wait, this can take a while.";
}

RestoreRequest ListEntry(const std::string& section)
{
    RestoreRequest request;
    request.source = RestoreSource::KeepsetList;
    request.recordFile = "qzkeepset.ini";
    request.recordSection = section;
    return request;
}

TEST_F(RestoreTest, WithoutAChosenSourceOrConfirmationNothingHappens)
{
    Saved("qzt\\a.qzt", "tool");
    Record("SaveMsg=1\r\n");
    Config("[Save1]\r\nPath=\r\n[Save2]\r\nPath=" + keep_.Path() + "\r\n");

    EXPECT_FALSE(Run(ListEntry("")));           // no row selected
    EXPECT_FALSE(Run(ListEntry("Save1")));      // an entry without a directory
    RestoreRequest noRecord = OtherRoot();
    noRecord.recordFile.clear();
    EXPECT_FALSE(Run(noRecord));
    ASSERT_EQ(boxes_.size(), 3u);
    for (const Box& box : boxes_) {
        EXPECT_EQ(box.text, kNoSourceText);
        EXPECT_EQ(box.caption, kCaption);
        EXPECT_EQ(box.style, win::kBoxOk | win::kBoxIconWarning);
    }

    boxes_.clear();
    confirmAnswer_ = win::kAnswerNo;
    EXPECT_FALSE(Run(ListEntry("Save2")));
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, Confirmation(keep_.Path()));
    EXPECT_EQ(boxes_[0].caption, kCaption);
    EXPECT_EQ(boxes_[0].style, win::kBoxYesNo | win::kBoxIconQuestion);

    EXPECT_TRUE(host_.events.empty());
    EXPECT_FALSE(qztest::Exists("Q:\\work\\log\\qzkeepset.log"));
    EXPECT_FALSE(IsInstalled("qzt\\a.qzt"));
}

// The items that are always restored, and the optional ones only where the
// record says exactly 1.
TEST_F(RestoreTest, FullRestoreOfAListEntry)
{
    Saved("qzt\\a.qzt", kBinary);
    Saved("db1\\vm001.dbf", "alarm configuration");
    Saved("win\\qzrestoretest.ini", "[Alarm]\r\nLines=4\r\n");
    Saved("dbv1\\v100_1.vox", "voice");
    Saved("desktop\\all\\alarm.lnk", "link for all");
    Saved("desktop\\user\\notes.txt", "user notes");
    Config("[Config]\r\nWebHtdocsPath=Q:\\htdocs\r\n[Save3]\r\nPath=" + keep_.Path() +
           "\r\nSaveMsg=2\r\nSaveDesktop=1\r\nSaveWeb=1\r\nSaveMySql=0\r\nSaveAdd1=\r\n");

    EXPECT_TRUE(Run(ListEntry("Save3")));

    EXPECT_EQ(Installed("qzt\\a.qzt"), kBinary);
    EXPECT_EQ(Installed("db1\\vm001.dbf"), "alarm configuration");
    EXPECT_EQ(qztest::ReadFileText(WindowsFile("qzrestoretest.ini")), "[Alarm]\r\nLines=4\r\n");
    EXPECT_FALSE(IsInstalled("dbv1\\v100_1.vox"));  // SaveMsg=2 is not "saved"
    EXPECT_EQ(qztest::ReadFileText(desktops_ / "all\\alarm.lnk"), "link for all");
    EXPECT_EQ(qztest::ReadFileText(desktops_ / "user\\notes.txt"), "user notes");

    const std::string root = keep_.Path();
    EXPECT_EQ(LogTexts(), (Lines{
                              "Start full restore from " + root,
                              Unverified(root),
                              root + ".\\qzt\\a.qzt restored to \\qzt\\a.qzt",
                              root + ".\\db1\\vm001.dbf restored to \\db1\\vm001.dbf",
                              root + ".\\win\\qzrestoretest.ini restored to " + WindowsFile("qzrestoretest.ini"),
                              root + ".\\desktop\\all\\alarm.lnk restored to " + (desktops_ / "all\\alarm.lnk"),
                              root + ".\\desktop\\user\\notes.txt restored to " + (desktops_ / "user\\notes.txt"),
                              "No files found in directory: " + root + ".\\web\\htdocs.\\*.*",
                          }));
    const Lines lines = qztest::ReadLines("Q:\\work\\log\\qzkeepset.log");
    EXPECT_NE(std::find(lines.begin(), lines.end(), std::string(121, '*')), lines.end());

    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].text, Confirmation(root));
    EXPECT_EQ(boxes_[1].text, kSuccessText);
    EXPECT_EQ(boxes_[1].caption, kCaption);
    EXPECT_EQ(boxes_[1].style, win::kBoxOk | win::kBoxIconInformation);
    EXPECT_EQ(host_.events, (Lines{"wait", "arrow", "close"}));
}

// The alarm configuration is saved by every save: a keepset without it is
// damaged, and says so.
TEST_F(RestoreTest, AKeepsetWithoutDataRestoresNothing)
{
    Record("SaveMsg=1\r\n");

    EXPECT_FALSE(Run(OtherRoot()));

    const std::string root = keep_.Path();
    EXPECT_EQ(LogTexts(), (Lines{
                              "Start full restore from " + root,
                              Unverified(root),
                              "No files found in directory: " + root + ".\\qzt.\\*.*",
                              "FAILED to restore " + root + ".\\db1\\vm001.dbf to \\db1\\vm001.dbf ! (missing from the keepset)",
                              "No files found in directory: " + root + ".\\win.\\*.*",
                              "No files found in directory: " + root + ".\\dbv1.\\*.*",
                          }));
    EXPECT_EQ(Summary(), kErrorsText);
    EXPECT_EQ(boxes_.back().style, win::kBoxOk | win::kBoxIconWarning);
    EXPECT_EQ(host_.events, (Lines{"wait", "arrow"}));  // the dialog stays open

    // An empty directory is no "No files found".
    qztest::MakeDirectories(keep_ / "qzt");
    boxes_.clear();
    EXPECT_FALSE(Run(Custom(OtherRoot(), {{QztDirectory, true}})));
    EXPECT_EQ(LogTexts().back(), Unverified(root));
    EXPECT_EQ(Summary(), kNothingText);

    // Nor does an empty custom list restore anything.
    boxes_.clear();
    EXPECT_FALSE(Run(Custom(OtherRoot(), {})));
    EXPECT_EQ(Summary(), kNothingText);
}

// Checked rows in row order; item 2 names its three files one by one. A
// keepset without manifest cannot show that a personnel file was not
// configured, so a missing one is a failure; its qzpers.ini names the
// ones that were, and a missing one of those is a failure also with a
// manifest; with a manifest alone, one it does not list was not saved.
TEST_F(RestoreTest, CustomRestoreOfTheCheckedRows)
{
    Saved("dbv1\\v7_1.vox", "voice 7");
    Saved("db1\\vm001.dbf", "alarm configuration");
    Saved("db1\\qzgroups.dbf", "groups");
    Saved("qzt\\x.qz1", "module");
    Record("SaveMsg=1\r\n");

    EXPECT_TRUE(Run(Custom(OtherRoot(), {{VoiceMessages, true},
                                         {AlarmConfiguration, false},
                                         {QztDirectory, true},
                                         {GroupAndPersonnel, true}})));

    const std::string root = keep_.Path();
    EXPECT_EQ(LogTexts(), (Lines{
                              "Start custom restore from " + root,
                              Unverified(root),
                              root + ".\\dbv1\\v7_1.vox restored to \\dbv1\\v7_1.vox",
                              root + ".\\qzt\\x.qz1 restored to \\qzt\\x.qz1",
                              "FAILED to restore " + root + ".\\db1\\qzpersonal.dbf to \\db1\\qzpersonal.dbf ! (missing from the keepset)",
                              root + ".\\db1\\qzgroups.dbf restored to \\db1\\qzgroups.dbf",
                              "FAILED to restore " + root + ".\\db1\\qzlink.dbf to \\db1\\qzlink.dbf ! (missing from the keepset)",
                          }));
    EXPECT_EQ(Installed("db1\\qzgroups.dbf"), "groups");
    EXPECT_FALSE(IsInstalled("db1\\vm001.dbf"));
    EXPECT_EQ(Summary(), kErrorsText);

    // The keepset's qzpers.ini names the files the save was set to save.
    Saved("win\\qzpers.ini", "[DBInfo]\r\nGroup=QZGROUPS.DBF\r\nPers=qzpersonal.dbf\r\n");
    qztest::RemoveTree("Q:\\work\\log\\qzkeepset.log");
    EXPECT_TRUE(Run(Custom(OtherRoot(), {{GroupAndPersonnel, true}})));
    EXPECT_EQ(Summary(), kErrorsText);
    EXPECT_EQ(LoggedLinesStartingWith("FAILED to restore " + root + ".\\db1\\qzpersonal.dbf"), 1u);
    EXPECT_TRUE(Logged("No files found in directory: " + root + ".\\db1.\\qzlink.dbf"));

    // A manifest without the file does not excuse it: the save was set to
    // save it, and did not.
    WriteManifest();
    qztest::RemoveTree("Q:\\work\\log\\qzkeepset.log");
    EXPECT_TRUE(Run(Custom(OtherRoot(), {{GroupAndPersonnel, true}})));
    EXPECT_EQ(LogTexts(), (Lines{
                              "Start custom restore from " + root,
                              "FAILED to restore " + root + ".\\db1\\qzpersonal.dbf to \\db1\\qzpersonal.dbf ! (missing from the keepset)",
                              root + ".\\db1\\qzgroups.dbf restored to \\db1\\qzgroups.dbf",
                              "No files found in directory: " + root + ".\\db1.\\qzlink.dbf",
                          }));
    EXPECT_EQ(Summary(), kErrorsText);
    // So does a full restore.
    qztest::RemoveTree("Q:\\work\\log\\qzkeepset.log");
    Run(OtherRoot());
    EXPECT_EQ(LoggedLinesStartingWith("FAILED to restore " + root + ".\\db1\\qzpersonal.dbf"), 1u);
    EXPECT_EQ(Summary(), kErrorsText);

    // Without its qzpers.ini, the manifest shows what was saved.
    qztest::RemoveTree(keep_ / "win\\qzpers.ini");
    WriteManifest();
    qztest::RemoveTree("Q:\\work\\log\\qzkeepset.log");
    EXPECT_TRUE(Run(Custom(OtherRoot(), {{GroupAndPersonnel, true}})));
    EXPECT_EQ(LogTexts(), (Lines{
                              "Start custom restore from " + root,
                              "No files found in directory: " + root + ".\\db1.\\qzpersonal.dbf",
                              root + ".\\db1\\qzgroups.dbf restored to \\db1\\qzgroups.dbf",
                              "No files found in directory: " + root + ".\\db1.\\qzlink.dbf",
                          }));
    EXPECT_EQ(Summary(), kSuccessText);
}

// As root, Wine copies over a read-only file (Windows refuses), so the
// first copy is made to fail the way a read-only or busy target fails.
TEST_F(RestoreTest, AFailedCopyDoesNotStopTheLaterItems)
{
    Saved("qzt\\a.qzt", "tool");
    Saved("db1\\vm001.dbf", "alarm configuration");
    Record("");
    win::FailCall(win::Op::FileCopy, 1, ERROR_ACCESS_DENIED);

    EXPECT_TRUE(Run(OtherRoot()));

    const std::string root = keep_.Path();
    EXPECT_TRUE(Logged("FAILED to restore " + root + ".\\qzt\\a.qzt to \\qzt\\a.qzt ! (the copy failed, error 5)"));
    EXPECT_TRUE(Logged(root + ".\\db1\\vm001.dbf restored to \\db1\\vm001.dbf"));
    EXPECT_FALSE(IsInstalled("qzt\\a.qzt"));
    EXPECT_EQ(Summary(), kErrorsText);
    EXPECT_EQ(boxes_.back().style, win::kBoxOk | win::kBoxIconWarning);
    EXPECT_EQ(host_.events, (Lines{"wait", "arrow", "close"}));
}

}  // namespace
}  // namespace restoretest
