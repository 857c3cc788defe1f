// "Restore" runs the restore run with what the dialog shows: a custom
// restore of two checked rows brings back just those, a full restore the
// whole installation, byte for byte, and the dialog then closes with OK.
#include "RestoreDialogFixture.h"

#include "resource.h"
#include "win/MessageBoxes.h"
#include "win/Profile.h"

namespace restoredialogtest {
namespace {

const char kSuccessText[] = "Successfully restored the files from the selected datasource.";

TEST_F(RestoreDialogTest, ACustomRestoreOfTwoRowsAndAFullRestoreBringTheInstallationBack)
{
    SaveInto(keep_.Path());
    const Installation saved = Snapshot();
    ChangeTheInstallation();
    const Installation changed = Snapshot();
    ASSERT_NE(changed, saved);

    // Custom: the alarm configuration and the voice messages only.
    Open();
    ClickKeepsetRow(0);
    ClickRadio(IDC_RST_CUSTOM_RESTORE, IDC_RST_FULL_RESTORE);
    const Lines rows = CustomRowTexts();
    ASSERT_EQ(rows.size(), 7u);
    ASSERT_EQ(rows[5], "All recorded voice alarm and alarm-in messages ");
    CheckCustomRow(0);
    CheckCustomRow(5);
    Press(IDOK);
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].style, win::kBoxYesNo | win::kBoxIconQuestion);
    EXPECT_NE(boxes_[0].text.find(keep_.Path()), std::string::npos);
    EXPECT_EQ(boxes_[1].text, kSuccessText);
    EXPECT_EQ(dialog_->EndedWith(), IDOK);
    EXPECT_TRUE(dialog_->Restored());

    Installation expected = changed;
    expected["db1"]["vm001.dbf"] = saved.at("db1").at("vm001.dbf");
    expected["dbv1"] = saved.at("dbv1");
    EXPECT_EQ(Snapshot(), expected);

    // Full: everything the save held.
    boxes_.clear();
    Open();
    ClickKeepsetRow(0);
    Press(IDOK);
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[1].text, kSuccessText);
    EXPECT_EQ(dialog_->EndedWith(), IDOK);
    EXPECT_EQ(Snapshot(), saved);
}

TEST_F(RestoreDialogTest, ARestoreFromAnotherRootThatRestoresNothingKeepsTheDialogOpen)
{
    SaveInto(keep_.Path());
    qztest::WriteFileText(install_ / "db1\\vm001.dbf", "changed");
    Open();
    ClickRadio(IDC_RST_SOURCE_OTHER_ROOT, IDC_RST_SOURCE_KEEPSET_LIST);
    chosen_ = keep_.Path();
    Press(IDC_RST_SELECT_ROOT);
    ClickRadio(IDC_RST_CUSTOM_RESTORE, IDC_RST_FULL_RESTORE);

    // No row checked: nothing restored, the dialog stays for another choice.
    Press(IDOK);
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[1].text, "No data selected for restore !\nPlease select the data for restore first.");
    EXPECT_EQ(dialog_->EndedWith(), 0);

    CheckCustomRow(0);
    boxes_.clear();
    Press(IDOK);
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[1].text, kSuccessText);
    EXPECT_EQ(dialog_->EndedWith(), IDOK);
    EXPECT_EQ(qztest::ReadFileText(install_ / "db1\\vm001.dbf"), std::string("alarm configuration\0\x01\x02\r\n\x1a\xfe\xff", 27));
}

// A keepset whose save did not end: the row says so, and Restore asks
// before anything else, whether the keepset comes from the list or from
// another root's record; No (the default) touches nothing.
TEST_F(RestoreDialogTest, AnIncompleteKeepsetIsMarkedAndRestoredOnlyAfterAQuestion)
{
    SaveInto(keep_.Path());
    qztest::WriteFileText(install_ / "db1\\vm001.dbf", "changed");
    win::WriteProfileValue("qzkeepset.ini", "Save1", "State", "running");
    win::WriteProfileValue(keep_ / "qzkeepset.inf", "Save", "State", "running");
    answerWarnings_ = win::kAnswerNo;

    Open();
    ASSERT_EQ(KeepsetRows().size(), 1u);
    EXPECT_EQ(KeepsetRows()[0][3], "INCOMPLETE: Alarm and tool configuration, voice messages, desktop");
    ClickKeepsetRow(0);
    Press(IDOK);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, "The save into the keepset directory " + keep_.Path() +
                                  " did not end: the keepset is INCOMPLETE and may hold cut or missing files.\n"
                                  "Restore from it anyway?");
    EXPECT_EQ(boxes_[0].style, win::kBoxYesNo | win::kBoxIconWarning | win::kBoxSecondDefault);
    EXPECT_EQ(dialog_->EndedWith(), 0);
    EXPECT_EQ(qztest::ReadFileText(install_ / "db1\\vm001.dbf"), "changed");

    // Another root: its record says the same.
    boxes_.clear();
    ClickRadio(IDC_RST_SOURCE_OTHER_ROOT, IDC_RST_SOURCE_KEEPSET_LIST);
    chosen_ = keep_.Path();
    Press(IDC_RST_SELECT_ROOT);
    EXPECT_NE(SummaryText().find("INCOMPLETE: Alarm and tool configuration"), std::string::npos);
    Press(IDOK);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].style, win::kBoxYesNo | win::kBoxIconWarning | win::kBoxSecondDefault);
    EXPECT_EQ(qztest::ReadFileText(install_ / "db1\\vm001.dbf"), "changed");

    // Yes: the restore goes on.
    boxes_.clear();
    answerWarnings_ = win::kAnswerYes;
    Press(IDOK);
    ASSERT_EQ(boxes_.size(), 3u);
    EXPECT_EQ(boxes_[2].text, kSuccessText);
    EXPECT_EQ(dialog_->EndedWith(), IDOK);
    EXPECT_NE(qztest::ReadFileText(install_ / "db1\\vm001.dbf"), "changed");
}

}  // namespace
}  // namespace restoredialogtest
