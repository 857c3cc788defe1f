// The settings dialog of the real program, opened from the main window and
// driven as a user would: what it shows of the configuration file and the
// disk, the enabling rules on clicks, what OK writes (and what it leaves
// alone), Cancel, the Test button, and what the next save does with it.
#include "Installation.h"

#include "resource.h"
#include "support/ProfileFiles.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

namespace {

const char* const kWebService = "SYSTEM\\ControlSet001\\Services\\QZ_Apache";
const char* const kHtdocs = "Q:\\qz_web\\htdocs";

// A web server with its htdocs sub-directories and a MySQL data directory
// next to the installation of the base fixture.
class SettingsOfAnInstallation : public e2e::Installation {
protected:
    void SetUp() override
    {
        Installation::SetUp();
        if (HasFatalFailure())
            return;
        // The web server counts as installed when its service is registered.
        qztest::SetRegistryString(true, kWebService, "ImagePath", "Q:\\qz_web\\bin\\httpd.exe");
        qztest::WriteFileText(std::string(kHtdocs) + "\\index.php", "<?php index ?>");
        qztest::WriteFileText(std::string(kHtdocs) + "\\shop\\cart.php", "<?php cart ?>");
        qztest::WriteFileText(std::string(kHtdocs) + "\\forum\\topic.php", "<?php topic ?>");
        qztest::WriteFileText(std::string(kHtdocs) + "\\private\\key.php", "<?php key ?>");
        qztest::SetAttributes(std::string(kHtdocs) + "\\private", FILE_ATTRIBUTE_HIDDEN);
        qztest::WriteFileText(std::string(kHtdocs) + "\\readme.txt", "a file, not a sub-directory");

        // Directories are databases; the server's own files (archive
        // attribute) are not.
        for (const char* name : {"qze2e_alarm", "test", ".trash"})
            qztest::MakeDirectories(Data() + "\\" + name);
        qztest::WriteFileText(Data() + "\\ibdata1", "server file");

        qztest::WriteFileText(Root() + "\\extra\\plan.txt", "extra plan");
    }

    void TearDown() override
    {
        qztest::DeleteRegistryTree(true, kWebService);
        Installation::TearDown();
    }

    std::string Data() const { return Root() + "\\mysqldata"; }

    // The configuration the program starts with: messages, web with the
    // checked htdocs sub-directories and the selected databases.
    void WriteStartConfiguration(const std::string& extraConfig = std::string(),
                                 const std::string& extraMySql = std::string())
    {
        qztest::WriteProfileFile(qztest::ConfigFilePath(),
                                 "[Config]\r\nSaveMSG=1\r\nOnlySaveAlrMSG=1\r\nSaveDesktop=0\r\nSaveWeb=1\r\n"
                                 "SaveHtdocs=1\r\nSaveSubHtdocs=1\r\nSaveMySql=1\r\nWebHtdocsPath=" +
                                     std::string(kHtdocs) +
                                     "\r\nHtdocsSubDirToSave=shop,\r\nAciveSaveFiles1=0\r\nSaveFiles1=" + Root() +
                                     "\\extra\r\n" + extraConfig + "[MySQL]\r\nMySQLPath=" +
                                     qztest::BridgeDirectory() + "\r\nMySQLDataPath=" + Data() +
                                     "\r\nUserName=\r\nPassword=\r\nSaveSpecifiedDatabases=1\r\n"
                                     "DumpDatabase=mytest,\r\nHtdocsSubDirCustomSelect=1\r\n" + extraMySql);
    }

    // Opens the dialog from the main window.
    HWND OpenSettings(HWND window)
    {
        qzauto::ClickButton(window, IDC_SETTINGS);
        const HWND dialog = qzauto::WaitForWindow("Settings", program_.Id());
        EXPECT_NE(dialog, nullptr) << "no settings dialog";
        return dialog;
    }

    // Starts the program and opens the dialog from its main window.
    bool StartWithSettingsOpen(HWND& window, HWND& dialog)
    {
        StartProgram();
        window = MainWindow();
        dialog = window != nullptr ? OpenSettings(window) : nullptr;
        return dialog != nullptr;
    }

    void CloseWith(HWND dialog, int button)
    {
        qzauto::PressButton(dialog, button);
        EXPECT_TRUE(qzauto::WaitUntilGone(dialog));
    }

    static qztest::ProfileContent Configuration()
    {
        return qztest::ReadProfileContent(qztest::ConfigFilePath());
    }
};

// The rows of a check-box list with their check marks, in list order.
std::vector<std::pair<std::string, bool>> Rows(HWND dialog, int list)
{
    std::vector<std::pair<std::string, bool>> rows;
    const auto texts = qzauto::ListViewRows(dialog, list);
    for (std::size_t row = 0; row < texts.size(); ++row)
        rows.emplace_back(texts[row][0], qzauto::IsListViewRowChecked(dialog, list, static_cast<int>(row)));
    return rows;
}

std::vector<std::pair<std::string, bool>> Sorted(std::vector<std::pair<std::string, bool>> rows)
{
    std::sort(rows.begin(), rows.end());
    return rows;
}

int RowNamed(HWND dialog, int list, const std::string& name)
{
    const auto texts = qzauto::ListViewRows(dialog, list);
    for (std::size_t row = 0; row < texts.size(); ++row) {
        if (texts[row][0] == name)
            return static_cast<int>(row);
    }
    return -1;
}

// The ids of the controls that are enabled, of those given.
std::vector<int> Enabled(HWND dialog, std::initializer_list<int> ids)
{
    std::vector<int> enabled;
    for (int id : ids) {
        if (qzauto::IsControlEnabled(dialog, id))
            enabled.push_back(id);
    }
    return enabled;
}

const std::initializer_list<int> kWebControls = {
    IDC_SET_SAVE_HTDOCS,         IDC_SET_HTDOCS_PATH,       IDC_SET_ALL_SUBDIRECTORIES, IDC_SET_CHECKED_SUBDIRECTORIES,
    IDC_SET_SUBDIRECTORY_LIST,   IDC_SET_SAVE_MYSQL,        IDC_SET_USER_NAME_LABEL,    IDC_SET_USER_NAME,
    IDC_SET_PASSWORD_LABEL,      IDC_SET_PASSWORD,          IDC_SET_ALL_DATABASES,      IDC_SET_SELECTED_DATABASES,
    IDC_SET_DATABASE_LIST};

const std::vector<int> kAllWebControls(kWebControls);

void Click(HWND dialog, int id)
{
    // Sent, so that the rule has run when the next check looks.
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

}  // namespace

TEST_F(SettingsOfAnInstallation, OpensWithTheFileAndTheDiskAndTheRulesFollowTheClicks)
{
    WriteStartConfiguration();
    HWND window = nullptr;
    HWND dialog = nullptr;
    ASSERT_TRUE(StartWithSettingsOpen(window, dialog));

    // Check boxes and radio buttons as the file has them.
    for (int id : {IDC_SET_SAVE_MESSAGES, IDC_SET_ONLY_ALARM_MESSAGES, IDC_SET_SAVE_WEB, IDC_SET_SAVE_HTDOCS,
                   IDC_SET_SAVE_MYSQL, IDC_SET_CHECKED_SUBDIRECTORIES, IDC_SET_SELECTED_DATABASES})
        EXPECT_TRUE(qzauto::IsButtonChecked(dialog, id)) << id;
    for (int id : {IDC_SET_SAVE_DESKTOP, IDC_SET_ALL_SUBDIRECTORIES, IDC_SET_ALL_DATABASES, IDC_SET_BATCH_ACTIVE,
                   IDC_SET_ADDITIONAL1_ACTIVE, IDC_SET_ADDITIONAL2_ACTIVE})
        EXPECT_FALSE(qzauto::IsButtonChecked(dialog, id)) << id;
    // An empty user name shows as root.
    EXPECT_EQ(qzauto::ControlText(dialog, IDC_SET_USER_NAME), "root");
    EXPECT_EQ(qzauto::ControlText(dialog, IDC_SET_HTDOCS_PATH), kHtdocs);
    EXPECT_EQ(qzauto::ControlText(dialog, IDC_SET_ADDITIONAL1_PATH), Root() + "\\extra");
    EXPECT_FALSE(qzauto::IsControlEnabled(dialog, IDC_SET_ADDITIONAL1_PATH));
    EXPECT_FALSE(qzauto::IsControlEnabled(dialog, IDC_SET_BATCH_PROGRAM));
    EXPECT_FALSE(qzauto::IsControlEnabled(dialog, IDC_SET_TEST_BATCH));

    // The hidden sub-directory and the plain file are not listed; a
    // database named test is checked because "mytest," contains it.
    using Row = std::pair<std::string, bool>;
    EXPECT_EQ(Sorted(Rows(dialog, IDC_SET_SUBDIRECTORY_LIST)), (std::vector<Row>{{"forum", false}, {"shop", true}}));
    EXPECT_EQ(Sorted(Rows(dialog, IDC_SET_DATABASE_LIST)),
              (std::vector<Row>{{"qze2e_alarm", false}, {"test", true}}));
    EXPECT_EQ(qzauto::ListViewColumnWidth(dialog, IDC_SET_DATABASE_LIST, 0), 150);
    // Wine reports a plain file with the archive attribute alone: that is
    // the entry the database rule turns away.
    EXPECT_EQ(GetFileAttributesA((Data() + "\\ibdata1").c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(Enabled(dialog, kWebControls), kAllWebControls);

    // The radio groups switch their lists.
    Click(dialog, IDC_SET_ALL_SUBDIRECTORIES);
    EXPECT_FALSE(qzauto::IsControlEnabled(dialog, IDC_SET_SUBDIRECTORY_LIST));
    Click(dialog, IDC_SET_CHECKED_SUBDIRECTORIES);
    EXPECT_TRUE(qzauto::IsControlEnabled(dialog, IDC_SET_SUBDIRECTORY_LIST));
    Click(dialog, IDC_SET_ALL_DATABASES);
    EXPECT_FALSE(qzauto::IsControlEnabled(dialog, IDC_SET_DATABASE_LIST));
    Click(dialog, IDC_SET_SELECTED_DATABASES);
    EXPECT_TRUE(qzauto::IsControlEnabled(dialog, IDC_SET_DATABASE_LIST));

    // Web off disables the whole web part; the check marks stay.
    Click(dialog, IDC_SET_SAVE_WEB);
    EXPECT_EQ(Enabled(dialog, kWebControls), std::vector<int>{});
    EXPECT_TRUE(qzauto::IsButtonChecked(dialog, IDC_SET_SAVE_HTDOCS));
    EXPECT_TRUE(qzauto::IsButtonChecked(dialog, IDC_SET_SAVE_MYSQL));
    Click(dialog, IDC_SET_SAVE_WEB);
    EXPECT_EQ(Enabled(dialog, kWebControls), kAllWebControls);

    // Htdocs off takes its path, radios and list; MySQL off its part.
    Click(dialog, IDC_SET_SAVE_HTDOCS);
    EXPECT_EQ(Enabled(dialog, kWebControls),
              (std::vector<int>{IDC_SET_SAVE_HTDOCS, IDC_SET_SAVE_MYSQL, IDC_SET_USER_NAME_LABEL, IDC_SET_USER_NAME,
                                IDC_SET_PASSWORD_LABEL, IDC_SET_PASSWORD, IDC_SET_ALL_DATABASES,
                                IDC_SET_SELECTED_DATABASES, IDC_SET_DATABASE_LIST}));
    Click(dialog, IDC_SET_SAVE_MYSQL);
    EXPECT_EQ(Enabled(dialog, kWebControls), (std::vector<int>{IDC_SET_SAVE_HTDOCS, IDC_SET_SAVE_MYSQL}));
    Click(dialog, IDC_SET_SAVE_HTDOCS);
    Click(dialog, IDC_SET_SAVE_MYSQL);
    EXPECT_EQ(Enabled(dialog, kWebControls), kAllWebControls);

    // Messages, batch and additional directories.
    Click(dialog, IDC_SET_SAVE_MESSAGES);
    EXPECT_FALSE(qzauto::IsControlEnabled(dialog, IDC_SET_ONLY_ALARM_MESSAGES));
    EXPECT_TRUE(qzauto::IsButtonChecked(dialog, IDC_SET_ONLY_ALARM_MESSAGES));
    Click(dialog, IDC_SET_SAVE_MESSAGES);
    EXPECT_TRUE(qzauto::IsControlEnabled(dialog, IDC_SET_ONLY_ALARM_MESSAGES));
    Click(dialog, IDC_SET_BATCH_ACTIVE);
    EXPECT_TRUE(qzauto::IsControlEnabled(dialog, IDC_SET_BATCH_PROGRAM));
    EXPECT_TRUE(qzauto::IsControlEnabled(dialog, IDC_SET_TEST_BATCH));
    const int additional[][2] = {{IDC_SET_ADDITIONAL1_ACTIVE, IDC_SET_ADDITIONAL1_PATH},
                                 {IDC_SET_ADDITIONAL2_ACTIVE, IDC_SET_ADDITIONAL2_PATH},
                                 {IDC_SET_ADDITIONAL3_ACTIVE, IDC_SET_ADDITIONAL3_PATH},
                                 {IDC_SET_ADDITIONAL4_ACTIVE, IDC_SET_ADDITIONAL4_PATH}};
    for (const auto& pair : additional) {
        Click(dialog, pair[0]);
        EXPECT_TRUE(qzauto::IsControlEnabled(dialog, pair[1])) << pair[1];
        Click(dialog, pair[0]);
        EXPECT_FALSE(qzauto::IsControlEnabled(dialog, pair[1])) << pair[1];
    }

    // Whatever was clicked, Cancel writes nothing.
    const auto before = Configuration();
    CloseWith(dialog, IDCANCEL);
    EXPECT_EQ(Configuration(), before);
    EXPECT_EQ(ExitProgram(window), 0u);
}

TEST_F(SettingsOfAnInstallation, OkWritesTheFileByItsRulesAndTheNextSaveUsesIt)
{
    QZ_REQUIRE_TEST_DATABASE();
    ASSERT_EQ(qztest::RunSql("DROP DATABASE IF EXISTS qze2e_alarm; CREATE DATABASE qze2e_alarm;"
                             "CREATE TABLE qze2e_alarm.zones (id INT PRIMARY KEY, name VARCHAR(30));"
                             "INSERT INTO qze2e_alarm.zones VALUES (3, 'east wing');"),
              0);
    WriteStartConfiguration();
    HWND window = nullptr;
    HWND dialog = nullptr;
    ASSERT_TRUE(StartWithSettingsOpen(window, dialog));
    const auto before = Configuration();

    // Every kind of option: check boxes, list rows, edits, radio buttons.
    Click(dialog, IDC_SET_SAVE_MESSAGES);  // messages off: no voice files
    Click(dialog, IDC_SET_SAVE_DESKTOP);
    qzauto::ClickListViewCheckBox(dialog, IDC_SET_SUBDIRECTORY_LIST,
                                  RowNamed(dialog, IDC_SET_SUBDIRECTORY_LIST, "forum"));
    const int alarmRow = RowNamed(dialog, IDC_SET_DATABASE_LIST, "qze2e_alarm");
    const int testRow = RowNamed(dialog, IDC_SET_DATABASE_LIST, "test");
    qzauto::ClickListViewCheckBox(dialog, IDC_SET_DATABASE_LIST, alarmRow);
    qzauto::ClickListViewCheckBox(dialog, IDC_SET_DATABASE_LIST, testRow);
    EXPECT_TRUE(qzauto::IsListViewRowChecked(dialog, IDC_SET_DATABASE_LIST, alarmRow));
    EXPECT_FALSE(qzauto::IsListViewRowChecked(dialog, IDC_SET_DATABASE_LIST, testRow));
    Click(dialog, IDC_SET_ADDITIONAL1_ACTIVE);
    Click(dialog, IDC_SET_ADDITIONAL3_ACTIVE);
    qzauto::SetControlText(dialog, IDC_SET_ADDITIONAL3_PATH, Root() + "\\no such directory");
    Click(dialog, IDC_SET_BATCH_ACTIVE);
    const std::string batch = "cmd /c echo after the save> Q:\\batch-ran.txt";
    qzauto::SetControlText(dialog, IDC_SET_BATCH_PROGRAM, batch);
    // Typed beyond what the key holds: the edit keeps 79 characters.
    qzauto::TypeText(dialog, IDC_SET_PASSWORD, std::string(100, 'p'));
    EXPECT_EQ(qzauto::ControlText(dialog, IDC_SET_PASSWORD), std::string(79, 'p'));
    qzauto::SetControlText(dialog, IDC_SET_PASSWORD, "");
    CloseWith(dialog, IDOK);

    // Key by key: the file as it was, with exactly these writes.
    auto expected = before;
    auto& config = expected["Config"];
    config["SaveMSG"] = "0";
    config["OnlySaveAlrMSG"] = "0";
    config["SaveDesktop"] = "1";
    config["SaveWeb"] = "1";
    config["SaveHtdocs"] = "1";
    config["WebHtdocsPath"] = kHtdocs;
    config["SaveMySql"] = "1";
    config["AciveStartBatch"] = "1";
    config["StartBatch"] = batch;
    config["AciveSaveFiles1"] = "1";
    config["SaveFiles1"] = Root() + "\\extra";
    config["AciveSaveFiles2"] = "0";
    config["AciveSaveFiles3"] = "1";
    config["SaveFiles3"] = Root() + "\\no such directory";
    config["AciveSaveFiles4"] = "0";
    auto& mySql = expected["MySQL"];
    mySql["HtdocsSubDirCustomSelect"] = "1";
    mySql["SaveSpecifiedDatabases"] = "1";
    mySql["DumpDatabase"] = "qze2e_alarm,";
    mySql["UserName"] = "root";
    mySql["Password"] = "";
    auto written = Configuration();
    // Both rows checked, in list order (the order the disk gave them).
    const std::string& list = written["Config"]["HtdocsSubDirToSave"];
    EXPECT_TRUE(list == "shop,forum," || list == "forum,shop,") << list;
    config["HtdocsSubDirToSave"] = list;
    EXPECT_EQ(written, expected);

    // The next save from the window runs with the new options at once.
    const std::string keepset = Root() + "\\keep";
    qzauto::SetControlText(window, IDC_SAVE_DIRECTORY, keepset);
    qzauto::ClickButton(window, IDC_SAVE_DATA);
    // An additional directory that does not exist has nothing to copy: no
    // failure.
    const HWND box = qzauto::WaitForDialogOf(program_.Id(), window, 60000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(qzauto::WindowText(box), "Information") << qzauto::MessageBoxText(box);
    qzauto::PressButton(box, IDOK);
    ASSERT_TRUE(qzauto::WaitUntil([&] { return qzauto::IsControlEnabled(window, IDC_SAVE_DATA); }, 60000));

    EXPECT_EQ(qztest::ReadFileText(keepset + "\\desktop\\user\\Alarm.lnk"), "user link");
    EXPECT_FALSE(qztest::Exists(keepset + "\\dbv1\\v0012_1.vox"));
    EXPECT_EQ(qztest::ReadFileText(keepset + "\\web\\htdocs\\index.php"), "<?php index ?>");
    EXPECT_EQ(qztest::ReadFileText(keepset + "\\web\\htdocs\\shop\\cart.php"), "<?php cart ?>");
    EXPECT_EQ(qztest::ReadFileText(keepset + "\\web\\htdocs\\forum\\topic.php"), "<?php topic ?>");
    EXPECT_FALSE(qztest::Exists(keepset + "\\web\\htdocs\\private"));
    EXPECT_NE(qztest::ReadFileText(keepset + "\\mysql\\qze2e_alarm.sql").find("east wing"), std::string::npos);
    EXPECT_FALSE(qztest::Exists(keepset + "\\mysql\\test.sql"));
    const std::string extra = Root().substr(2) + "\\extra\\plan.txt";  // below the keepset, without the drive
    EXPECT_EQ(qztest::ReadFileText(keepset + extra), "extra plan");
    EXPECT_TRUE(qzauto::WaitUntil([] { return qztest::Exists("Q:\\batch-ran.txt"); }, 20000));

    const auto lines = qzauto::ListLines(window, IDC_MESSAGE_LIST);
    const auto failed = std::count_if(lines.begin(), lines.end(),
                                      [](const qzauto::ListLine& line) { return line.data == 0x000000FF; });
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(ExitProgram(window), 0u);
    qztest::RunSql("DROP DATABASE IF EXISTS qze2e_alarm;");
}

TEST_F(SettingsOfAnInstallation, WebOffWritesOnlySaveWebAndOddRadioValuesComeBackAsMinusOne)
{
    // Radio values other than 0 and 1 select neither button.
    WriteStartConfiguration("", "");
    WritePrivateProfileStringA("MySQL", "HtdocsSubDirCustomSelect", "7", "qzkeepset.ini");
    WritePrivateProfileStringA("MySQL", "SaveSpecifiedDatabases", "x", "qzkeepset.ini");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "qzkeepset.ini");
    HWND window = nullptr;
    HWND dialog = nullptr;
    ASSERT_TRUE(StartWithSettingsOpen(window, dialog));
    EXPECT_FALSE(qzauto::IsButtonChecked(dialog, IDC_SET_ALL_SUBDIRECTORIES));
    EXPECT_FALSE(qzauto::IsButtonChecked(dialog, IDC_SET_CHECKED_SUBDIRECTORIES));
    // "x" reads as 0: all databases.
    EXPECT_TRUE(qzauto::IsButtonChecked(dialog, IDC_SET_ALL_DATABASES));
    // None selected is not "all": the list stays usable.
    EXPECT_TRUE(qzauto::IsControlEnabled(dialog, IDC_SET_SUBDIRECTORY_LIST));
    EXPECT_FALSE(qzauto::IsControlEnabled(dialog, IDC_SET_DATABASE_LIST));
    // Only checked rows count while no radio is chosen: unchecking the one
    // checked row leaves the list empty, so the key keeps its value.
    qzauto::ClickListViewCheckBox(dialog, IDC_SET_SUBDIRECTORY_LIST,
                                  RowNamed(dialog, IDC_SET_SUBDIRECTORY_LIST, "shop"));
    auto before = Configuration();
    CloseWith(dialog, IDOK);
    auto written = Configuration();
    EXPECT_EQ(written["MySQL"]["HtdocsSubDirCustomSelect"], "-1");
    EXPECT_EQ(written["MySQL"]["SaveSpecifiedDatabases"], "0");
    EXPECT_EQ(written["Config"]["HtdocsSubDirToSave"], "shop,");
    EXPECT_EQ(written["MySQL"]["DumpDatabase"], "mytest,");

    // Web off: of the web keys only SaveWeb changes, in the file and for
    // the next opening (web boxes shown clear, their keys untouched).
    dialog = OpenSettings(window);
    ASSERT_NE(dialog, nullptr);
    qzauto::SetControlText(dialog, IDC_SET_USER_NAME, "changed");
    qzauto::SetControlText(dialog, IDC_SET_HTDOCS_PATH, "Q:\\elsewhere");
    Click(dialog, IDC_SET_SAVE_WEB);
    before = Configuration();
    CloseWith(dialog, IDOK);
    written = Configuration();
    EXPECT_EQ(written["Config"]["SaveWeb"], "0");
    before["Config"]["SaveWeb"] = "0";
    EXPECT_EQ(written["MySQL"], before["MySQL"]);
    EXPECT_EQ(written["Config"]["WebHtdocsPath"], kHtdocs);
    EXPECT_EQ(written["Config"]["SaveHtdocs"], "1");
    EXPECT_EQ(written["Config"]["SaveMySql"], "1");
    EXPECT_EQ(written["Config"]["SaveSubHtdocs"], "1") << "the dialog never writes SaveSubHtdocs";

    dialog = OpenSettings(window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(qzauto::IsButtonChecked(dialog, IDC_SET_SAVE_WEB));
    EXPECT_FALSE(qzauto::IsButtonChecked(dialog, IDC_SET_SAVE_HTDOCS));
    EXPECT_FALSE(qzauto::IsButtonChecked(dialog, IDC_SET_SAVE_MYSQL));
    EXPECT_EQ(Enabled(dialog, kWebControls), std::vector<int>{});
    CloseWith(dialog, IDCANCEL);
    EXPECT_EQ(ExitProgram(window), 0u);
}

TEST_F(SettingsOfAnInstallation, TestAsksFirstAndRunsTheBatchCommandOnlyOnYes)
{
    WriteStartConfiguration("AciveStartBatch=1\r\nStartBatch=cmd /c echo tested> Q:\\tested.txt\r\n");
    HWND window = nullptr;
    HWND dialog = nullptr;
    ASSERT_TRUE(StartWithSettingsOpen(window, dialog));
    const auto before = Configuration();
    const std::string typed = "cmd /c echo typed> Q:\\tested.txt";
    qzauto::SetControlText(dialog, IDC_SET_BATCH_PROGRAM, typed);
    // Processes the program had already started (Wine's desktop window, for
    // one, when the program was the first to open a window).
    std::vector<DWORD> earlier;
    for (const auto& child : qzauto::ChildProcesses(program_.Id()))
        earlier.push_back(child.id);
    std::string started;  // "name id, " of each started since
    const auto noneStartedSince = [&] {
        started.clear();
        for (const auto& child : qzauto::ChildProcesses(program_.Id()))
            if (std::find(earlier.begin(), earlier.end(), child.id) == earlier.end())
                started += child.fileName + " " + std::to_string(child.id) + ", ";
        return started.empty();
    };

    for (int answer : {IDNO, IDYES}) {
        qzauto::ClickButton(dialog, IDC_SET_TEST_BATCH);
        const HWND box = qzauto::WaitForMessageBox("Please confirm...", program_.Id());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(qzauto::MessageBoxText(box), "Start batch program '" + typed + "' ?");
        // Yes is the default button.
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(box, IDYES), GWL_STYLE) & BS_DEFPUSHBUTTON);
        qzauto::PressButton(box, answer);
        ASSERT_TRUE(qzauto::WaitUntilGone(box));
        if (answer == IDNO) {
            // Once the click's handler has returned, a command it had started
            // would be a process of the program's, or would have ended
            // and written its file.
            ASSERT_TRUE(qzauto::WaitUntilSettled(program_.Id()));
            ASSERT_TRUE(qzauto::WaitUntil(noneStartedSince)) << "still running: " << started;
            EXPECT_FALSE(qztest::Exists("Q:\\tested.txt"));
        }
    }
    EXPECT_TRUE(qzauto::WaitUntil([] { return qztest::ReadFileText("Q:\\tested.txt") == "typed\r\n"; }, 20000))
        << qztest::ReadFileText("Q:\\tested.txt");
    CloseWith(dialog, IDCANCEL);
    EXPECT_EQ(Configuration(), before);
    EXPECT_EQ(ExitProgram(window), 0u);
}

// The dialog in each language, opened from the main window: it shows the
// texts of its language's dialog template. Screenshots, for a look at
// whether every text fits, go to build/.../screenshots.
class SettingsInEachLanguage : public SettingsOfAnInstallation, public ::testing::WithParamInterface<const char*> {};

TEST_P(SettingsInEachLanguage, ShowsEveryTextOfItsLanguage)
{
    const std::string code = GetParam();
    WriteStartConfiguration("AciveStartBatch=1\r\nStartBatch=Q:\\after-save.cmd\r\nAciveSaveFiles2=1\r\n"
                            "SaveFiles2=D:\\Documents\r\n");
    if (!code.empty()) {
        ASSERT_TRUE(PlaceLanguageLibrary(code));
        SetLanguage(code == "dt" ? "DT" : "FR");
    }
    StartProgram();
    const HWND window = MainWindow(TextOf(code, IDS_MAIN_TITLE));
    ASSERT_NE(window, nullptr);
    qzauto::ClickButton(window, IDC_SETTINGS);
    const HWND dialog = qzauto::WaitForDialogOf(program_.Id(), window);
    ASSERT_NE(dialog, nullptr);
    // The caption, the group box, 11 check boxes, 4 radio buttons, 2 labels
    // and 3 push buttons.
    EXPECT_EQ(ExpectTemplateTexts(dialog, code, IDD_SETTINGS), 22u);
    TakeScreenshot("settings-dialog-" + (code.empty() ? std::string("en") : code));
    CloseWith(dialog, IDCANCEL);
    EXPECT_EQ(ExitProgram(window), 0u);
}

INSTANTIATE_TEST_SUITE_P(Languages, SettingsInEachLanguage, ::testing::Values("", "dt", "fr"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             const std::string code = info.param;
                             return code.empty() ? std::string("English") : code == "dt" ? "German" : "French";
                         });
