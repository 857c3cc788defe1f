// The keepset list of the configuration file: what a real save leaves is
// listed, a click fills the custom rows, entries whose directory is gone
// are cleared, and without any entry the other source is preset.
#include "RestoreDialogFixture.h"

#include "resource.h"
#include "support/ProfileFiles.h"
#include "win/MessageBoxes.h"

#include <commctrl.h>

namespace restoredialogtest {
namespace {

const Lines kFixedRows = {
    "Alarm configuration without group and personnel data (vm001.dbf)",
    "Group and personnel data (qzgroups.dbf, qzpersonal.dbf and qzlink.dbf)",
    "QZT directory with all QZE modules, week- and scheduleplans and batch/cmd programs",
    "All ini-files for general alarm and program settings",
};

Lines Plus(Lines lines, const Lines& more)
{
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

std::string Entry(int n, const std::string& path, const std::string& date, const std::string& flags)
{
    return "[Save" + std::to_string(n) + "]\r\nPath=" + path + "\r\nDate=" + date + "\r\nTime=10:00:0" +
           std::to_string(n % 10) + "\r\n" + flags;
}

TEST_F(RestoreDialogTest, ListsARealSaveAndFillsTheCustomRowsOnAClick)
{
    SaveInto(keep_.Path());
    Open();

    // Columns, then the one row: date, time, directory and save type of the entry.
    const HWND list = Control(IDC_RST_KEEPSET_LIST);
    const int widths[] = {65, 55, 210, 368};
    const char* headings[] = {"Date", "Time", "Save-directory", "Save-type"};
    for (int column = 0; column < 4; ++column) {
        char heading[40] = "";
        LVCOLUMNA query = {};
        query.mask = LVCF_TEXT | LVCF_WIDTH;
        query.pszText = heading;
        query.cchTextMax = sizeof heading;
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&query)));
        EXPECT_STREQ(heading, headings[column]);
        EXPECT_EQ(query.cx, widths[column]);
    }
    EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), LVS_EX_FULLROWSELECT);
    const std::string date = ConfigValue("Save1", "Date");
    ASSERT_EQ(date.size(), 10u);
    EXPECT_EQ(KeepsetRows(), (std::vector<Lines>{{date, ConfigValue("Save1", "Time"), keep_.Path(),
                                                  "Alarm and tool configuration, voice messages, desktop"}}));
    EXPECT_EQ(KeepsetRowEntry(0), 1);
    EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), -1);
    EXPECT_TRUE(boxes_.empty());

    // Initial state: the list source, a full restore, an empty custom list.
    EXPECT_TRUE(Checked(IDC_RST_SOURCE_KEEPSET_LIST));
    EXPECT_FALSE(Checked(IDC_RST_SOURCE_OTHER_ROOT));
    EXPECT_TRUE(Checked(IDC_RST_FULL_RESTORE));
    EXPECT_TRUE(Enabled(IDC_RST_KEEPSET_LIST));
    EXPECT_FALSE(Enabled(IDC_RST_SELECT_ROOT));
    EXPECT_FALSE(Enabled(IDC_RST_SUMMARY));
    EXPECT_FALSE(Enabled(IDC_RST_CUSTOM_LIST));
    EXPECT_TRUE(CustomRowTexts().empty());
    EXPECT_EQ(SendMessageA(Control(IDC_RST_CUSTOM_LIST), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x24);

    // The enabling rules follow the radios.
    ClickRadio(IDC_RST_CUSTOM_RESTORE, IDC_RST_FULL_RESTORE);
    EXPECT_TRUE(Enabled(IDC_RST_CUSTOM_LIST));
    ClickRadio(IDC_RST_SOURCE_OTHER_ROOT, IDC_RST_SOURCE_KEEPSET_LIST);
    EXPECT_FALSE(Enabled(IDC_RST_KEEPSET_LIST));
    EXPECT_TRUE(Enabled(IDC_RST_SELECT_ROOT));
    EXPECT_TRUE(Enabled(IDC_RST_SUMMARY));
    ClickRadio(IDC_RST_SOURCE_KEEPSET_LIST, IDC_RST_SOURCE_OTHER_ROOT);
    EXPECT_TRUE(Enabled(IDC_RST_KEEPSET_LIST));
    EXPECT_FALSE(Enabled(IDC_RST_SELECT_ROOT));

    // A click on the row offers what the save holds: the list view's own
    // mouse handling selects the row and tells the dialog.
    RECT rowRect = {LVIR_BOUNDS, 0, 0, 0};
    ASSERT_TRUE(SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rowRect)));
    const LPARAM point = MAKELPARAM(rowRect.left + 20, (rowRect.top + rowRect.bottom) / 2);
    // The list view waits for the button to come up before it takes the
    // press as a click, and takes the click itself when it comes up.
    PostMessageA(list, WM_LBUTTONUP, 0, point);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(list, WM_LBUTTONUP, 0, point);
    EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
    const Lines savedRows = Plus(kFixedRows, {"All desktop icons", "All recorded voice alarm and alarm-in messages ",
                                              "All additonal files from directory: Q:\\extra"});
    EXPECT_EQ(CustomRowTexts(), savedRows);

    // Only a click rebuilds the list: the keyboard leaves it as it is.
    SelectKeepsetRowByKeyboard(-1);
    EXPECT_EQ(CustomRowTexts(), savedRows);
    // A click on an empty area: the fixed rows only.
    ClickKeepsetRow(-1);
    EXPECT_EQ(CustomRowTexts(), kFixedRows);
}

// Entry 3's directory is gone and entry 4's is longer than 127
// characters; entry 5 ends the list, so entry 6 is not read.
TEST_F(RestoreDialogTest, EntriesWhoseDirectoryIsGoneAreClearedAndTheRestStillListed)
{
    const std::string longDirectory = keep_ / (std::string(100, 'a') + "\\" + std::string(100, 'b'));
    for (const std::string& directory : {keep_ / "one", keep_ / "two", longDirectory, keep_ / "six"})
        qztest::MakeDirectories(directory);
    qztest::WriteProfileFile(
        qztest::ConfigFilePath(),
        Entry(1, keep_ / "one", "01.02.2026", "SaveMsg=1\r\nSaveDesktop=0\r\nSaveWeb=2\r\nState=running\r\n") +
            Entry(2, keep_ / "two", "02.02.2026",
                  "SaveWeb=1\r\nSaveMySql=1\r\nSaveAdd2=C:\\data\\*.txt\r\nState=errors\r\n") +
            Entry(3, keep_ / "gone", "03.02.2026", "SaveAlrMsgOnly=1\r\nSaveMsg=1\r\nSaveAdd1=C:\\x\r\n") +
            Entry(4, longDirectory, "04.02.2026", "State=complete\r\n") + "[Save5]\r\nPath=\r\n" +
            Entry(6, keep_ / "six", "06.02.2026", ""));
    Open();

    const std::vector<Lines> rows = KeepsetRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (Lines{"01.02.2026", "10:00:01", keep_ / "one",
                              "INCOMPLETE: Alarm and tool configuration, voice messages"}));
    EXPECT_EQ(rows[1], (Lines{"02.02.2026", "10:00:02", keep_ / "two",
                              "WITH ERRORS: Alarm and tool configuration, web server configuration, MYSQL data"}));
    EXPECT_EQ(rows[2], (Lines{"04.02.2026", "10:00:04", longDirectory, "Alarm and tool configuration"}));
    EXPECT_EQ(KeepsetRowEntry(2), 4);
    EXPECT_TRUE(boxes_.empty());

    // Entry 3: every key emptied but SaveAlrMsgOnly; the section stays.
    for (const char* key : {"Path", "Date", "Time", "SaveMsg", "SaveDesktop", "SaveWeb", "SaveMySql", "SaveAdd1",
                            "SaveAdd2", "SaveAdd3", "SaveAdd4"})
        EXPECT_EQ(ConfigValue("Save3", key), "") << key;
    EXPECT_EQ(ConfigValue("Save3", "SaveAlrMsgOnly"), "1");
    EXPECT_EQ(ConfigValue("Save4", "Path"), longDirectory);

    // Each row offers its own entry: MySQL before the additional directory.
    ClickKeepsetRow(1);
    EXPECT_EQ(CustomRowTexts(),
              Plus(kFixedRows, {"All web programs (PHP) and configuration",
                                "All saved MySQL databases. The content of the existing databases will be overwritten !",
                                "All additonal files from directory: C:\\data\\*.txt"}));
    ClickKeepsetRow(0);  // SaveWeb=2 does not count
    EXPECT_EQ(CustomRowTexts(), Plus(kFixedRows, {"All recorded voice alarm and alarm-in messages "}));

    // The next opening ends the list at the cleared entry.
    Open();
    EXPECT_EQ(KeepsetRows().size(), 2u);

    // A configuration file that cannot be written keeps its entries; the
    // user is told once.
    const std::string config = qztest::ConfigFilePath();
    qztest::WriteProfileFile(config, Entry(1, keep_ / "gone", "01.02.2026", "") +
                                         Entry(2, keep_ / "gone2", "02.02.2026", "") +
                                         Entry(3, keep_ / "six", "06.02.2026", ""));
    const std::string before = qztest::ReadFileText(config);
    qztest::SetAttributes(config, FILE_ATTRIBUTE_READONLY);
    Open();
    qztest::SetAttributes(config, FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, config + " could not be written !\nThe file was left as it was.");
    EXPECT_EQ(boxes_[0].caption, "Error !");
    EXPECT_EQ(qztest::ReadFileText(config), before);
    EXPECT_EQ(KeepsetRows().size(), 1u);
}

TEST_F(RestoreDialogTest, WithoutAnyEntryTheOtherRootIsPresetAndARestoreAsksForASource)
{
    qztest::MakeDirectories(keep_ / "two");
    qztest::WriteProfileFile(qztest::ConfigFilePath(), "[Save1]\r\nPath=\r\n" + Entry(2, keep_ / "two", "", ""));
    Open();

    EXPECT_TRUE(KeepsetRows().empty());
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, "No previous keepset was found.\nPlease use the select button to select the keepset "
                              "data to restore.");
    EXPECT_EQ(boxes_[0].caption, "wine_restoredialog_tests");
    EXPECT_EQ(boxes_[0].style, win::kBoxOk | win::kBoxIconInformation);
    EXPECT_TRUE(Checked(IDC_RST_SOURCE_OTHER_ROOT));
    EXPECT_FALSE(Checked(IDC_RST_SOURCE_KEEPSET_LIST));
    EXPECT_FALSE(Enabled(IDC_RST_KEEPSET_LIST));
    EXPECT_TRUE(Enabled(IDC_RST_SELECT_ROOT));
    EXPECT_TRUE(Enabled(IDC_RST_SUMMARY));
    EXPECT_TRUE(SummaryText().empty());

    // Restore with nothing chosen: string 139, and the dialog stays open.
    Press(IDOK);
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[1].text, "No datasource was selected in the top list !\nPlease select a previous keepset first.");
    EXPECT_EQ(dialog_->EndedWith(), 0);
    EXPECT_FALSE(dialog_->Restored());
}

}  // namespace
}  // namespace restoredialogtest
