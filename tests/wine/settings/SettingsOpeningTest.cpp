// Opening the settings dialog: what it shows from the save settings and the
// configuration file, which entries its lists offer and pre-check, and the
// enabling rules as the user clicks.
#include "SettingsFixture.h"

#include "resource.h"
#include "win/Files.h"

#include <algorithm>

using settingstest::Rows;
using settingstest::SettingsTest;

namespace {

Rows Sorted(Rows rows)
{
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Every control that the web box governs.
const int kWebControls[] = {IDC_SET_SAVE_HTDOCS,        IDC_SET_HTDOCS_PATH,        IDC_SET_SUBDIRECTORY_LIST,
                            IDC_SET_ALL_SUBDIRECTORIES, IDC_SET_CHECKED_SUBDIRECTORIES, IDC_SET_SAVE_MYSQL,
                            IDC_SET_DATABASE_LIST,      IDC_SET_USER_NAME_LABEL,    IDC_SET_USER_NAME,
                            IDC_SET_PASSWORD_LABEL,     IDC_SET_PASSWORD,           IDC_SET_ALL_DATABASES,
                            IDC_SET_SELECTED_DATABASES};

}  // namespace

TEST_F(SettingsTest, OpensWithTheSaveSettingsAndTheKeysOfTheFile)
{
    const auto before = ConfigContent();
    Open();
    EXPECT_TRUE(Checked(IDC_SET_SAVE_MESSAGES));
    EXPECT_TRUE(Checked(IDC_SET_ONLY_ALARM_MESSAGES));
    EXPECT_TRUE(Enabled(IDC_SET_ONLY_ALARM_MESSAGES));
    EXPECT_FALSE(Checked(IDC_SET_SAVE_DESKTOP));
    EXPECT_TRUE(Checked(IDC_SET_SAVE_WEB));
    EXPECT_TRUE(Checked(IDC_SET_SAVE_HTDOCS));
    EXPECT_TRUE(Checked(IDC_SET_SAVE_MYSQL));
    EXPECT_EQ(Text(IDC_SET_HTDOCS_PATH), htdocs_.Path());
    // An empty user name is shown as the server's administrator.
    EXPECT_EQ(Text(IDC_SET_USER_NAME), "root");
    EXPECT_EQ(Text(IDC_SET_PASSWORD), "secret");
    EXPECT_FALSE(Checked(IDC_SET_ALL_DATABASES));
    EXPECT_TRUE(Checked(IDC_SET_SELECTED_DATABASES));
    EXPECT_FALSE(Checked(IDC_SET_ALL_SUBDIRECTORIES));
    EXPECT_TRUE(Checked(IDC_SET_CHECKED_SUBDIRECTORIES));
    EXPECT_TRUE(Enabled(IDC_SET_SUBDIRECTORY_LIST));
    EXPECT_TRUE(Enabled(IDC_SET_DATABASE_LIST));

    EXPECT_TRUE(Checked(IDC_SET_BATCH_ACTIVE));
    EXPECT_EQ(Text(IDC_SET_BATCH_PROGRAM), "old batch");
    EXPECT_TRUE(Enabled(IDC_SET_BATCH_PROGRAM));
    EXPECT_TRUE(Enabled(IDC_SET_TEST_BATCH));
    EXPECT_TRUE(Checked(IDC_SET_ADDITIONAL1_ACTIVE));
    EXPECT_EQ(Text(IDC_SET_ADDITIONAL1_PATH), "C:\\old1");
    EXPECT_TRUE(Enabled(IDC_SET_ADDITIONAL1_PATH));
    EXPECT_FALSE(Checked(IDC_SET_ADDITIONAL2_ACTIVE));
    EXPECT_EQ(Text(IDC_SET_ADDITIONAL2_PATH), "C:\\old2");
    EXPECT_FALSE(Enabled(IDC_SET_ADDITIONAL2_PATH));

    // The list controls are check-box lists.
    EXPECT_EQ(SendMessageA(Control(IDC_SET_DATABASE_LIST), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x24);
    EXPECT_EQ(SendMessageA(Control(IDC_SET_SUBDIRECTORY_LIST), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x24);
    // Opening writes nothing when the data directory is known.
    EXPECT_EQ(ConfigContent(), before);
}

TEST_F(SettingsTest, ListsOfferOnlyTheEntriesTheirRulesAcceptAndPreCheckBySubstring)
{
    // The archive entry of the data directory is a file (see the fixture).
    ASSERT_EQ(win::FileAttributes(data_ / "ibdata1"), win::kAttributeArchive);
    ASSERT_EQ(win::FileAttributes(htdocs_ / "private"), win::kAttributeDirectory | win::kAttributeHidden);
    Open();
    // "test" is found inside "mytest,"; hidden and archive entries are not
    // databases.
    EXPECT_EQ(Sorted(ListRows(IDC_SET_DATABASE_LIST)), (Rows{{"mysql", false}, {"shop", false}, {"test", true}}));
    // "Include," checks "include" whatever the case; the hidden "private",
    // the file and the dot entries are not offered.
    EXPECT_EQ(Sorted(ListRows(IDC_SET_SUBDIRECTORY_LIST)),
              (Rows{{"include", true}, {"ini", false}, {"shop", false}}));
}

TEST_F(SettingsTest, WebBoxesShowUncheckedAndEverythingWebIsDisabledWhileSaveWebIsOff)
{
    UpdateSaveSettings([](SaveSettingsRecord& record) {
        record.SaveWeb = 0;
        record.SaveMSG = 0;        // OnlySaveAlrMSG stays 1
        record.AciveStartBatch = 0;
    });
    Open();
    EXPECT_FALSE(Checked(IDC_SET_SAVE_WEB));
    EXPECT_FALSE(Checked(IDC_SET_SAVE_HTDOCS));
    EXPECT_FALSE(Checked(IDC_SET_SAVE_MYSQL));
    for (int id : kWebControls)
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(Checked(IDC_SET_ONLY_ALARM_MESSAGES));
    EXPECT_FALSE(Enabled(IDC_SET_ONLY_ALARM_MESSAGES));
    EXPECT_FALSE(Enabled(IDC_SET_BATCH_PROGRAM));
    EXPECT_FALSE(Enabled(IDC_SET_TEST_BATCH));
    // The lists are filled all the same.
    EXPECT_EQ(ListRows(IDC_SET_DATABASE_LIST).size(), 3u);
}

TEST_F(SettingsTest, ARadioValueOtherThanZeroOrOneSelectsNeitherButtonAndKeepsTheListEnabled)
{
    std::string text = StandardConfig();
    text.replace(text.find("SaveSpecifiedDatabases=1"), 24, "SaveSpecifiedDatabases=5");
    text.replace(text.find("HtdocsSubDirCustomSelect=1"), 26, "HtdocsSubDirCustomSelect=-3");
    WriteConfig(text);
    Open();
    EXPECT_FALSE(Checked(IDC_SET_ALL_DATABASES));
    EXPECT_FALSE(Checked(IDC_SET_SELECTED_DATABASES));
    EXPECT_FALSE(Checked(IDC_SET_ALL_SUBDIRECTORIES));
    EXPECT_FALSE(Checked(IDC_SET_CHECKED_SUBDIRECTORIES));
    EXPECT_TRUE(Enabled(IDC_SET_DATABASE_LIST));
    EXPECT_TRUE(Enabled(IDC_SET_SUBDIRECTORY_LIST));

    Press(IDOK);
    EXPECT_EQ(dialog_->EndedWith(), IDOK);
    EXPECT_EQ(Key("MySQL", "SaveSpecifiedDatabases"), "-1");
    EXPECT_EQ(Key("MySQL", "HtdocsSubDirCustomSelect"), "-1");
}

TEST_F(SettingsTest, EnablingRulesFollowTheClicksAndDisabledBoxesKeepTheirChecks)
{
    Open();
    Click(IDC_SET_SAVE_MESSAGES, false);
    EXPECT_FALSE(Enabled(IDC_SET_ONLY_ALARM_MESSAGES));
    EXPECT_TRUE(Checked(IDC_SET_ONLY_ALARM_MESSAGES));
    Click(IDC_SET_SAVE_MESSAGES, true);
    EXPECT_TRUE(Enabled(IDC_SET_ONLY_ALARM_MESSAGES));

    Click(IDC_SET_BATCH_ACTIVE, false);
    EXPECT_FALSE(Enabled(IDC_SET_BATCH_PROGRAM));
    EXPECT_FALSE(Enabled(IDC_SET_TEST_BATCH));
    Click(IDC_SET_BATCH_ACTIVE, true);
    EXPECT_TRUE(Enabled(IDC_SET_BATCH_PROGRAM));
    EXPECT_TRUE(Enabled(IDC_SET_TEST_BATCH));

    const int boxes[] = {IDC_SET_ADDITIONAL1_ACTIVE, IDC_SET_ADDITIONAL2_ACTIVE, IDC_SET_ADDITIONAL3_ACTIVE,
                         IDC_SET_ADDITIONAL4_ACTIVE};
    const int edits[] = {IDC_SET_ADDITIONAL1_PATH, IDC_SET_ADDITIONAL2_PATH, IDC_SET_ADDITIONAL3_PATH,
                         IDC_SET_ADDITIONAL4_PATH};
    for (int n = 0; n < 4; ++n) {
        Click(boxes[n], true);
        EXPECT_TRUE(Enabled(edits[n])) << n;
        Click(boxes[n], false);
        EXPECT_FALSE(Enabled(edits[n])) << n;
    }

    Click(IDC_SET_SAVE_WEB, false);
    for (int id : kWebControls)
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Checked(IDC_SET_SAVE_HTDOCS));
    EXPECT_TRUE(Checked(IDC_SET_SAVE_MYSQL));
    EXPECT_TRUE(Checked(IDC_SET_SELECTED_DATABASES));
    Click(IDC_SET_SAVE_WEB, true);
    for (int id : kWebControls)
        EXPECT_TRUE(Enabled(id)) << id;

    Click(IDC_SET_SAVE_HTDOCS, false);
    for (int id : {IDC_SET_HTDOCS_PATH, IDC_SET_ALL_SUBDIRECTORIES, IDC_SET_CHECKED_SUBDIRECTORIES,
                   IDC_SET_SUBDIRECTORY_LIST})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(IDC_SET_SAVE_MYSQL));
    SelectRadio(IDC_SET_ALL_SUBDIRECTORIES, IDC_SET_CHECKED_SUBDIRECTORIES);
    Click(IDC_SET_SAVE_HTDOCS, true);
    EXPECT_TRUE(Enabled(IDC_SET_HTDOCS_PATH));
    EXPECT_FALSE(Enabled(IDC_SET_SUBDIRECTORY_LIST));
    SelectRadio(IDC_SET_CHECKED_SUBDIRECTORIES, IDC_SET_ALL_SUBDIRECTORIES);
    EXPECT_TRUE(Enabled(IDC_SET_SUBDIRECTORY_LIST));

    Click(IDC_SET_SAVE_MYSQL, false);
    for (int id = IDC_SET_USER_NAME_LABEL; id <= IDC_SET_SELECTED_DATABASES; ++id)
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(IDC_SET_DATABASE_LIST));
    EXPECT_TRUE(Enabled(IDC_SET_SUBDIRECTORY_LIST));
    SelectRadio(IDC_SET_ALL_DATABASES, IDC_SET_SELECTED_DATABASES);
    Click(IDC_SET_SAVE_MYSQL, true);
    for (int id = IDC_SET_USER_NAME_LABEL; id <= IDC_SET_SELECTED_DATABASES; ++id)
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(IDC_SET_DATABASE_LIST));
    SelectRadio(IDC_SET_SELECTED_DATABASES, IDC_SET_ALL_DATABASES);
    EXPECT_TRUE(Enabled(IDC_SET_DATABASE_LIST));

    // Turning the web part back on applies the inner rules as they stand.
    SelectRadio(IDC_SET_ALL_DATABASES, IDC_SET_SELECTED_DATABASES);
    Click(IDC_SET_SAVE_HTDOCS, false);
    Click(IDC_SET_SAVE_WEB, false);
    Click(IDC_SET_SAVE_WEB, true);
    EXPECT_TRUE(Enabled(IDC_SET_SAVE_HTDOCS));
    EXPECT_FALSE(Enabled(IDC_SET_HTDOCS_PATH));
    EXPECT_FALSE(Enabled(IDC_SET_SUBDIRECTORY_LIST));
    EXPECT_TRUE(Enabled(IDC_SET_USER_NAME));
    EXPECT_FALSE(Enabled(IDC_SET_DATABASE_LIST));
}

TEST_F(SettingsTest, NoDataDirectoryAndAMissingHtdocsPathLeaveTheListsEmptySilently)
{
    // The working directory has sub-directories; they are not databases.
    qztest::MakeDirectories(work_ / "log");
    WriteConfig("[Config]\r\nWebHtdocsPath=C:\\qztest\\no-such-htdocs\r\n[MySQL]\r\nHtdocsSubDirCustomSelect=1\r\n");
    Open();
    EXPECT_TRUE(ListRows(IDC_SET_DATABASE_LIST).empty());
    EXPECT_TRUE(ListRows(IDC_SET_SUBDIRECTORY_LIST).empty());
    EXPECT_EQ(Key("MySQL", "MySQLDataPath"), "<missing>");
}
