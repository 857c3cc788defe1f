// OK and Cancel of the settings dialog: which keys OK writes under which
// conditions and which it leaves alone, the save settings it changes, and
// Cancel writing nothing.
#include "SettingsFixture.h"
#include "config/ProfileFileUpdate.h"
#include "support/FaultSweep.h"

#include "win/MessageBoxes.h"

#include <windows.h>

#include "resource.h"

using settingstest::Rows;
using settingstest::SettingsTest;

namespace {

// The texts of the rows in list order, each followed by a comma.
std::string Joined(const Rows& rows, bool everyRow)
{
    std::string list;
    for (const auto& row : rows) {
        if (everyRow || row.second)
            list += row.first + ",";
    }
    return list;
}

void ExpectSameOptions(const SaveSettingsRecord& a, const SaveSettingsRecord& b)
{
    EXPECT_EQ(a.SaveMSG, b.SaveMSG);
    EXPECT_EQ(a.OnlySaveAlrMSG, b.OnlySaveAlrMSG);
    EXPECT_EQ(a.SaveDesktop, b.SaveDesktop);
    EXPECT_EQ(a.SaveWeb, b.SaveWeb);
    EXPECT_EQ(a.SaveHtdocs, b.SaveHtdocs);
    EXPECT_EQ(a.SaveSubHtdocs, b.SaveSubHtdocs);
    EXPECT_EQ(a.SaveMySql, b.SaveMySql);
    EXPECT_EQ(a.AciveStartBatch, b.AciveStartBatch);
    EXPECT_EQ(a.StartBatch, b.StartBatch);
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(a.AciveSaveFiles(k), b.AciveSaveFiles(k)) << k;
        EXPECT_EQ(a.SaveFiles(k), b.SaveFiles(k)) << k;
    }
}

}  // namespace

TEST_F(SettingsTest, OkWithEverythingOnWritesEveryKeyAndTheSaveSettings)
{
    Open();
    Click(IDC_SET_SAVE_DESKTOP, true);
    SelectRadio(IDC_SET_ALL_SUBDIRECTORIES, IDC_SET_CHECKED_SUBDIRECTORIES);
    SetRowChecked(IDC_SET_DATABASE_LIST, "shop", true);
    Type(IDC_SET_HTDOCS_PATH, "D:\\web\\htdocs");
    Type(IDC_SET_PASSWORD, "new secret");
    Type(IDC_SET_BATCH_PROGRAM, "C:\\tools\\after save.bat /quiet");
    Click(IDC_SET_ADDITIONAL3_ACTIVE, true);
    Type(IDC_SET_ADDITIONAL3_PATH, "E:\\more");
    const Rows subDirectories = ListRows(IDC_SET_SUBDIRECTORY_LIST);
    const Rows databases = ListRows(IDC_SET_DATABASE_LIST);
    Press(IDOK);
    EXPECT_EQ(dialog_->EndedWith(), IDOK);

    EXPECT_EQ(Key("Config", "SaveMSG"), "1");
    EXPECT_EQ(Key("Config", "OnlySaveAlrMSG"), "1");
    EXPECT_EQ(Key("Config", "SaveDesktop"), "1");
    EXPECT_EQ(Key("Config", "SaveWeb"), "1");
    EXPECT_EQ(Key("Config", "SaveHtdocs"), "1");
    EXPECT_EQ(Key("Config", "WebHtdocsPath"), "D:\\web\\htdocs");
    // "Save all htdocs sub-directories": every row, whatever its check.
    EXPECT_EQ(Key("Config", "HtdocsSubDirToSave"), Joined(subDirectories, true));
    EXPECT_EQ(Key("Config", "HtdocsSubDirToSave").size(), std::string("include,ini,shop,").size());
    EXPECT_EQ(Key("Config", "SaveSubHtdocs"), "<missing>");
    EXPECT_EQ(Key("MySQL", "HtdocsSubDirCustomSelect"), "0");
    EXPECT_EQ(Key("Config", "SaveMySql"), "1");
    EXPECT_EQ(Key("MySQL", "SaveSpecifiedDatabases"), "1");
    EXPECT_EQ(Key("MySQL", "DumpDatabase"), Joined(databases, false));
    EXPECT_EQ(Key("MySQL", "DumpDatabase").size(), std::string("test,shop,").size());
    EXPECT_EQ(Key("MySQL", "UserName"), "root");
    EXPECT_EQ(Key("MySQL", "Password"), "new secret");
    EXPECT_EQ(Key("Config", "AciveStartBatch"), "1");
    EXPECT_EQ(Key("Config", "StartBatch"), "C:\\tools\\after save.bat /quiet");
    EXPECT_EQ(Key("Config", "AciveSaveFiles1"), "1");
    EXPECT_EQ(Key("Config", "SaveFiles1"), "C:\\old1");
    EXPECT_EQ(Key("Config", "AciveSaveFiles2"), "0");
    EXPECT_EQ(Key("Config", "SaveFiles2"), "C:\\old2");
    EXPECT_EQ(Key("Config", "AciveSaveFiles3"), "1");
    EXPECT_EQ(Key("Config", "SaveFiles3"), "E:\\more");
    EXPECT_EQ(Key("Config", "AciveSaveFiles4"), "0");
    EXPECT_EQ(Key("Config", "SaveFiles4"), "<missing>");

    const SaveSettingsRecord now = CurrentSaveSettings();
    EXPECT_EQ(now.SaveMSG, 1);
    EXPECT_EQ(now.OnlySaveAlrMSG, 1);
    EXPECT_EQ(now.SaveDesktop, 1);
    EXPECT_EQ(now.SaveWeb, 1);
    EXPECT_EQ(now.SaveHtdocs, 1);
    EXPECT_EQ(now.SaveSubHtdocs, 1);
    EXPECT_EQ(now.SaveMySql, 1);
    EXPECT_EQ(now.AciveStartBatch, 1);
    EXPECT_EQ(now.StartBatch, "C:\\tools\\after save.bat /quiet");
    EXPECT_EQ(now.AciveSaveFiles3, 1);
    EXPECT_EQ(now.SaveFiles3, "E:\\more");
    EXPECT_EQ(now.SaveFiles2, "C:\\old2");
    // The run fields are not the dialog's.
    EXPECT_EQ(now.SaveDir, "D:\\run");
    EXPECT_EQ(now.WebServerKind, 2);
}

TEST_F(SettingsTest, OkWithTheOptionsOffWritesTheirFlagsAndKeepsEverythingElse)
{
    const auto before = ConfigContent();
    Open();
    Click(IDC_SET_SAVE_MESSAGES, false);     // 1020 stays checked, disabled
    Click(IDC_SET_SAVE_WEB, false);
    Type(IDC_SET_USER_NAME, "changed");
    Click(IDC_SET_BATCH_ACTIVE, false);
    Type(IDC_SET_BATCH_PROGRAM, "changed batch");
    Click(IDC_SET_ADDITIONAL1_ACTIVE, false);
    Type(IDC_SET_ADDITIONAL1_PATH, "C:\\changed");
    Press(IDOK);

    EXPECT_EQ(Key("Config", "SaveMSG"), "0");
    EXPECT_EQ(Key("Config", "OnlySaveAlrMSG"), "0");
    EXPECT_EQ(Key("Config", "SaveWeb"), "0");
    // Of the web keys only "SaveWeb" is written.
    const auto after = ConfigContent();
    EXPECT_EQ(after.at("MySQL"), before.at("MySQL"));
    for (const char* key : {"WebHtdocsPath", "HtdocsSubDirToSave"})
        EXPECT_EQ(after.at("Config").at(key), before.at("Config").at(key)) << key;
    for (const char* key : {"SaveHtdocs", "SaveSubHtdocs", "SaveMySql"})
        EXPECT_EQ(Key("Config", key), "<missing>") << key;
    EXPECT_EQ(Key("Config", "AciveStartBatch"), "0");
    EXPECT_EQ(Key("Config", "StartBatch"), "old batch");
    EXPECT_EQ(Key("Config", "AciveSaveFiles1"), "0");
    EXPECT_EQ(Key("Config", "SaveFiles1"), "C:\\old1");

    const SaveSettingsRecord now = CurrentSaveSettings();
    EXPECT_EQ(now.SaveMSG, 0);
    EXPECT_EQ(now.OnlySaveAlrMSG, 0);
    EXPECT_EQ(now.SaveWeb, 0);
    EXPECT_EQ(now.SaveHtdocs, 1);
    EXPECT_EQ(now.SaveMySql, 1);
    EXPECT_EQ(now.AciveStartBatch, 0);
    EXPECT_EQ(now.StartBatch, "old batch");
    EXPECT_EQ(now.AciveSaveFiles1, 0);
    EXPECT_EQ(now.SaveFiles1, "C:\\old1");
}

TEST_F(SettingsTest, EmptyListsLeaveTheirKeysAndMySqlOffLeavesTheConnection)
{
    Open();
    // Only checked sub-directories, and none is checked.
    SetRowChecked(IDC_SET_SUBDIRECTORY_LIST, "include", false);
    // Selected databases, and none is checked.
    SetRowChecked(IDC_SET_DATABASE_LIST, "test", false);
    Type(IDC_SET_PASSWORD, "changed");
    Press(IDOK);
    EXPECT_EQ(Key("Config", "HtdocsSubDirToSave"), "Include,");
    EXPECT_EQ(Key("MySQL", "HtdocsSubDirCustomSelect"), "1");
    EXPECT_EQ(CurrentSaveSettings().SaveSubHtdocs, 0);
    EXPECT_EQ(Key("MySQL", "DumpDatabase"), "mytest,");
    EXPECT_EQ(Key("MySQL", "SaveSpecifiedDatabases"), "1");
    EXPECT_EQ(Key("MySQL", "Password"), "changed");

    // Every database: the checked rows are not written.
    dialog_.reset();
    Open();
    SelectRadio(IDC_SET_ALL_DATABASES, IDC_SET_SELECTED_DATABASES);
    SetRowChecked(IDC_SET_DATABASE_LIST, "shop", true);
    Press(IDOK);
    EXPECT_EQ(Key("MySQL", "SaveSpecifiedDatabases"), "0");
    EXPECT_EQ(Key("MySQL", "DumpDatabase"), "mytest,");

    // MySQL off: its flag only.
    dialog_.reset();
    Open();
    Click(IDC_SET_SAVE_MYSQL, false);
    Type(IDC_SET_PASSWORD, "not written");
    SelectRadio(IDC_SET_SELECTED_DATABASES, IDC_SET_ALL_DATABASES);
    Press(IDOK);
    EXPECT_EQ(Key("Config", "SaveMySql"), "0");
    EXPECT_EQ(Key("MySQL", "Password"), "changed");
    EXPECT_EQ(Key("MySQL", "SaveSpecifiedDatabases"), "0");
    EXPECT_EQ(CurrentSaveSettings().SaveMySql, 0);
}

TEST_F(SettingsTest, CancelWritesNothingAndChangesNoSaveSetting)
{
    const SaveSettingsRecord start = CurrentSaveSettings();
    Open();
    const auto opened = ConfigContent();
    Click(IDC_SET_SAVE_MESSAGES, false);
    Click(IDC_SET_SAVE_DESKTOP, true);
    Click(IDC_SET_SAVE_WEB, false);
    Type(IDC_SET_BATCH_PROGRAM, "other");
    Click(IDC_SET_ADDITIONAL2_ACTIVE, true);
    SetRowChecked(IDC_SET_DATABASE_LIST, "shop", true);
    Press(IDCANCEL);
    EXPECT_EQ(dialog_->EndedWith(), IDCANCEL);
    EXPECT_EQ(ConfigContent(), opened);
    ExpectSameOptions(CurrentSaveSettings(), start);
}

TEST_F(SettingsTest, OverLongInputIsHeldToTheLengthsTheReadersUse)
{
    Open();
    EXPECT_EQ(SendMessageA(Control(IDC_SET_BATCH_PROGRAM), EM_GETLIMITTEXT, 0, 0), 511);
    EXPECT_EQ(SendMessageA(Control(IDC_SET_ADDITIONAL4_PATH), EM_GETLIMITTEXT, 0, 0), 255);
    EXPECT_EQ(SendMessageA(Control(IDC_SET_HTDOCS_PATH), EM_GETLIMITTEXT, 0, 0), 79);
    EXPECT_EQ(SendMessageA(Control(IDC_SET_USER_NAME), EM_GETLIMITTEXT, 0, 0), 79);
    EXPECT_EQ(SendMessageA(Control(IDC_SET_PASSWORD), EM_GETLIMITTEXT, 0, 0), 79);

    // Text set from outside the keyboard passes the edits' limits; OK still
    // stores no more than a reader takes.
    Type(IDC_SET_BATCH_PROGRAM, std::string(600, 'b'));
    Click(IDC_SET_ADDITIONAL4_ACTIVE, true);
    Type(IDC_SET_ADDITIONAL4_PATH, std::string(300, 'p'));
    Type(IDC_SET_USER_NAME, std::string(100, 'u'));
    Type(IDC_SET_HTDOCS_PATH, std::string(100, 'h'));
    Press(IDOK);
    EXPECT_EQ(Key("Config", "StartBatch"), std::string(511, 'b'));
    EXPECT_EQ(Key("Config", "SaveFiles4"), std::string(255, 'p'));
    EXPECT_EQ(Key("MySQL", "UserName"), std::string(79, 'u'));
    EXPECT_EQ(Key("Config", "WebHtdocsPath"), std::string(79, 'h'));
    EXPECT_EQ(CurrentSaveSettings().StartBatch, std::string(511, 'b'));
    EXPECT_EQ(CurrentSaveSettings().SaveFiles4, std::string(255, 'p'));
}

TEST_F(SettingsTest, AConfigurationFileThatCannotBeWrittenKeepsTheDialogOpenAndTheSaveSettings)
{
    const SaveSettingsRecord start = CurrentSaveSettings();
    Open();
    const auto opened = ConfigContent();
    std::vector<std::string> boxes;
    win::SetMessageBoxHandler([&boxes](const std::string& text, const std::string& caption, unsigned style) {
        boxes.push_back(caption + "|" + std::to_string(style) + "|" + text);
        return win::kAnswerOk;
    });
    Click(IDC_SET_SAVE_MESSAGES, false);
    Click(IDC_SET_SAVE_DESKTOP, true);
    qztest::SetAttributes(qztest::ConfigFilePath(), FILE_ATTRIBUTE_READONLY);
    Press(IDOK);
    qztest::SetAttributes(qztest::ConfigFilePath(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(boxes, std::vector<std::string>{"Error !|48|" + qztest::ConfigFilePath() +
                                              " could not be written !\nThe file was left as it was."});
    // Still open, with what the user entered.
    EXPECT_NE(dialog_->EndedWith(), IDOK);
    EXPECT_FALSE(Checked(IDC_SET_SAVE_MESSAGES));
    EXPECT_TRUE(Checked(IDC_SET_SAVE_DESKTOP));
    EXPECT_EQ(ConfigContent(), opened);
    ExpectSameOptions(CurrentSaveSettings(), start);
    EXPECT_EQ(qztest::TemporaryFilesIn(qztest::WindowsDir()), std::vector<std::string>{});

    // Another process (a scheduled save) in the middle of its update: after
    // a short wait the same box, and the file as that process leaves it.
    {
        const qztest::MutexHeldElsewhere scheduledSave(kUpdateLockName);
        Press(IDOK);
    }
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes.back(), boxes.front());
    EXPECT_NE(dialog_->EndedWith(), IDOK);
    EXPECT_EQ(ConfigContent(), opened);

    // Writable again, the same OK goes through, past a folder planted under
    // the name the update once used for its copy.
    qztest::MakeDirectories(qztest::ConfigFilePath() + ".new");
    Press(IDOK);
    qztest::RemoveTree(qztest::ConfigFilePath() + ".new");
    EXPECT_EQ(dialog_->EndedWith(), IDOK);
    EXPECT_EQ(Key("Config", "SaveMSG"), "0");
    EXPECT_EQ(CurrentSaveSettings().SaveMSG, 0);
}
