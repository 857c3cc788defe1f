// The real qzkeepset.exe on a prepared server, driven from this process as
// a user or a scheduler would: the main window, a save from the window, an
// unattended save from the command line, the single-instance rule, the
// language libraries and the programs the window starts.
#include "Installation.h"

#include "app/StartOptions.h"
#include "resource.h"
#include "support/ProfileFiles.h"
#include "win/TestHold.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

using e2e::Installation;

namespace {

constexpr unsigned long kGreen = 0x00006400;
constexpr unsigned long kRed = 0x000000FF;

std::size_t CountColour(const std::vector<qzauto::ListLine>& lines, unsigned long colour)
{
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [colour](const qzauto::ListLine& line) { return line.data == colour; }));
}

struct ExpectedControl {
    int id;
    const char* className;
    const char* text;
};

}  // namespace

TEST_F(Installation, MainWindowOpensWithEveryControl)
{
    StartProgram();
    const HWND window = MainWindow();
    ASSERT_NE(window, nullptr);
    const ExpectedControl controls[] = {
        {IDC_SAVE_DIRECTORY, "Edit", "Q:\\qzkeepset"}, {IDC_BROWSE, "Button", "Browse"},
        {IDC_RESTORE_DATA, "Button", "Restore data"},  {IDC_SAVE_DATA, "Button", "Save data"},
        {IDC_SHOW_LOGFILE, "Button", "Show logfile"},  {IDC_MESSAGE_LIST, "ListBox", ""},
        {IDC_SETTINGS, "Button", "Settings"},          {IDC_RECOVERY_DISK, "Button", "Create recovery disk"},
        {IDOK, "Button", "Exit"},
    };
    for (const auto& control : controls) {
        const HWND item = GetDlgItem(window, control.id);
        ASSERT_NE(item, nullptr) << control.id;
        EXPECT_EQ(qzauto::ClassName(item), control.className) << control.id;
        EXPECT_EQ(qzauto::WindowText(item), control.text) << control.id;
        EXPECT_TRUE(IsWindowEnabled(item)) << control.id;
    }
    EXPECT_TRUE(qzauto::ListLines(window, IDC_MESSAGE_LIST).empty());

    // The same from a shell, through qzdrive.
    qzauto::Program drive;
    const std::string driveCommand = "\"" + qzauto::WindowsPathOfUnix(QZ_DRIVE_FILE) + "\" enabled \"" +
                                     e2e::kEnglishTitle + "\" " + std::to_string(IDC_SAVE_DATA);
    ASSERT_TRUE(drive.Start(driveCommand));
    DWORD driveStatus = 99;
    EXPECT_TRUE(drive.WaitForExit(driveStatus));
    EXPECT_EQ(driveStatus, 0u);

    // The installer finds a running copy by its mutex, whatever its language.
    const HANDLE running = OpenMutexA(SYNCHRONIZE, FALSE, kSingleInstanceMutexName);
    EXPECT_NE(running, nullptr);
    if (running != nullptr)
        CloseHandle(running);

    EXPECT_EQ(ExitProgram(window), 0u);
}

TEST_F(Installation, SaveFromTheWindowReportsEveryFileInGreenAndEndsWithTheInformationBox)
{
    StartProgram();
    const HWND window = MainWindow();
    ASSERT_NE(window, nullptr);
    const std::string typed = Root() + "\\keep\\YYYYMMDD";
    qzauto::SetControlText(window, IDC_SAVE_DIRECTORY, typed);
    qzauto::ClickButton(window, IDC_SAVE_DATA);

    // The run waits for the box before it ends: the window is still busy.
    const HWND box = qzauto::WaitForMessageBox("Information", program_.Id());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(qzauto::MessageBoxText(box).substr(0, 41), "The relevant data was successfully saved.");
    EXPECT_FALSE(qzauto::IsControlEnabled(window, IDC_SAVE_DATA));
    EXPECT_EQ(qzauto::ControlText(window, IDC_SAVE_DATA), "Saving");
    qzauto::PressButton(box, IDOK);

    ASSERT_TRUE(qzauto::WaitUntil([&] { return qzauto::IsControlEnabled(window, IDC_SAVE_DATA); }));
    EXPECT_EQ(qzauto::ControlText(window, IDC_SAVE_DATA), "Save data");
    EXPECT_EQ(qzauto::ControlText(window, IDC_SAVE_DIRECTORY), typed);
    const auto lines = qzauto::ListLines(window, IDC_MESSAGE_LIST);
    EXPECT_GE(lines.size(), 10u);
    EXPECT_EQ(CountColour(lines, kGreen), lines.size());

    const std::string keepset = Root() + "\\keep\\" + e2e::Today("%04u%02u%02u");
    EXPECT_EQ(qztest::ReadFileText(keepset + "\\db1\\vm001.dbf"), "alarm configuration");
    EXPECT_EQ(qztest::ReadFileText(keepset + "\\desktop\\user\\Alarm.lnk"), "user link");
    EXPECT_TRUE(qztest::Exists(keepset + "\\qzkeepset.inf"));
    EXPECT_EQ(ConfigValue("Config", "LastKeepsetDir"), typed);
    EXPECT_EQ(ExitProgram(window), 0u);
}

TEST_F(Installation, UnattendedSaveEndsByItselfWithStatus0)
{
    const std::string given = Root() + "\\keep\\YYYY-MM-DD";
    StartProgram({given});
    EXPECT_EQ(WaitForExit(), 0u);
    const std::string keepset = Root() + "\\keep\\" + e2e::Today("%04u-%02u-%02u");
    // Unattended, the installation is found on the working directory's drive.
    EXPECT_EQ(qztest::ReadFileText(keepset + "\\db1\\vm001.dbf"), "alarm configuration");
    EXPECT_TRUE(qztest::Exists(keepset + "\\dbv1\\mail.eml"));
    EXPECT_EQ(ConfigValue("Config", "LastKeepsetDir"), given);
    const auto log = RunLog();
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("All data successfully saved"), std::string::npos) << log.back();
}

TEST_F(Installation, UnattendedSaveWithErrorsEndsWithStatus1AndNoBox)
{
    DeleteFileA("Q:\\db1\\vm001.dbf");
    // A directory with a blank, quoted on the command line after a switch.
    const std::string given = Root() + "\\my keep";
    StartProgram({"/quiet", given});
    // Nobody is there to close a box: the outcome goes to the run log.
    EXPECT_EQ(WaitForExit(), 1u);
    EXPECT_TRUE(qztest::Exists(given + "\\qzt\\qztini.dbf"));
    EXPECT_EQ(ConfigValue("Config", "LastKeepsetDir"), given);
    const auto log = RunLog();
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("ERRORS while saving data"), std::string::npos) << log.back();
}

TEST_F(Installation, UnattendedSaveWhoseRecordCannotBeWrittenEndsWithStatus1)
{
    const std::string config = qztest::ConfigFilePath();
    qztest::WriteProfileFile(config, "[Config]\r\nSaveMSG=0\r\nLastKeepsetDir=E:\\old\r\n");
    const std::string before = qztest::ReadFileText(config);
    SetFileAttributesA(config.c_str(), FILE_ATTRIBUTE_READONLY);
    StartProgram({Root() + "\\keep"});
    const DWORD status = WaitForExit();
    SetFileAttributesA(config.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(status, 1u);
    EXPECT_EQ(qztest::ReadFileText(config), before);
    const auto log = RunLog();
    ASSERT_FALSE(log.empty());
    EXPECT_NE(std::find_if(log.begin(), log.end(),
                           [&](const std::string& line) {
                               return line.find("FAILED to save the keepset record to " + config) != std::string::npos;
                           }),
              log.end());
    EXPECT_NE(log.back().find("ERRORS while saving data"), std::string::npos) << log.back();
}

TEST_F(Installation, ClosingTheWindowDuringASaveEndsWithStatus1)
{
    DeleteFileA("Q:\\db1\\vm001.dbf");
    StartProgram();
    const HWND window = MainWindow();
    ASSERT_NE(window, nullptr);
    qzauto::SetControlText(window, IDC_SAVE_DIRECTORY, Root() + "\\keep");
    qzauto::ClickButton(window, IDC_SAVE_DATA);
    // The run waits for its error box; the window stays usable meanwhile.
    ASSERT_NE(qzauto::WaitForMessageBox("Error !", program_.Id()), nullptr);
    EXPECT_EQ(ExitProgram(window), 1u);
    // The manifest, the record and the entry were written before the box
    // (and the batch program): the keepset says that it has errors.
    EXPECT_TRUE(qztest::Exists(Root() + "\\keep\\qzkeepset.inf"));
    EXPECT_EQ(ConfigValue("Save1", "State"), "errors");
    EXPECT_TRUE(qztest::Exists(Root() + "\\keep\\qzkeepset.sha256"));
}

TEST_F(Installation, ADirectoryLongerThan127CharactersEndsWithStatus2AndARunLogLine)
{
    const std::string given = Root() + "\\" + std::string(140, 'k');
    StartProgram({given});
    // No box: a scheduler would wait for it for ever.
    EXPECT_EQ(WaitForExit(), 2u);
    EXPECT_FALSE(qztest::Exists(given.substr(0, 127)));
    EXPECT_FALSE(qztest::Exists(given));
    EXPECT_EQ(ConfigValue("Config", "LastKeepsetDir"), "<missing>");
    const auto log = RunLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].substr(22),
              "The save directory on the command line is longer than 127 characters, so nothing was saved: " + given);
}

TEST_F(Installation, AWindowWithTheTitleStopsTheStartAndASaveEndsWithStatus3)
{
    const HWND runningCopy = CreateWindowExA(0, "STATIC", e2e::kEnglishTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                             300, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(runningCopy, nullptr);
    ShowWindow(runningCopy, SW_MINIMIZE);
    const std::string given = Root() + "\\keep";
    StartProgram({given});
    EXPECT_EQ(WaitForExit(), 3u);
    EXPECT_FALSE(IsIconic(runningCopy));
    EXPECT_FALSE(qztest::Exists(given));
    EXPECT_EQ(ConfigValue("Config", "LastKeepsetDir"), "<missing>");
    const auto log = RunLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].substr(22), "Another copy of the program is already running, so nothing was saved.");

    // An interactive start only brings the running copy back.
    ShowWindow(runningCopy, SW_MINIMIZE);
    StartProgram();
    EXPECT_EQ(WaitForExit(), 0u);
    EXPECT_FALSE(IsIconic(runningCopy));
    EXPECT_EQ(RunLog().size(), 1u);
    DestroyWindow(runningCopy);
}

// The first start is held once it has passed the single-instance check,
// the mutex taken and no window yet (win/TestHold.h): the second meets it
// there for certain, whatever the machine's speed.
TEST_F(Installation, TwoStartsInTheSameInstantSaveOnce)
{
    const std::string first = Root() + "\\keepA";
    const std::string second = Root() + "\\keepB";
    const std::string holdName = "QzkeepsetTestHold" + std::to_string(GetCurrentProcessId());
    const HANDLE hold = CreateEventA(nullptr, TRUE, FALSE, holdName.c_str());
    ASSERT_NE(hold, nullptr);
    SetEnvironmentVariableA(win::kStartedCopyHoldVariable, holdName.c_str());
    StartProgram({first});
    SetEnvironmentVariableA(win::kStartedCopyHoldVariable, nullptr);
    // A handle kept here would keep the mutex after the copy's end.
    HANDLE running = nullptr;
    for (DWORD waited = 0; running == nullptr && waited < 60000 && program_.IsRunning(); waited += 20) {
        running = OpenMutexA(SYNCHRONIZE, FALSE, kSingleInstanceMutexName);
        if (running == nullptr)
            Sleep(20);
    }
    EXPECT_NE(running, nullptr) << "the first start never took the mutex";
    if (running != nullptr)
        CloseHandle(running);
    qzauto::Program other;
    const bool otherStarted = other.Start("\"" + Root() + "\\program\\qzkeepset.exe\" \"" + second + "\"", "Q:\\");
    DWORD otherStatus = 99;
    const bool otherEnded = otherStarted && other.WaitForExit(otherStatus, 90000);
    SetEvent(hold);
    CloseHandle(hold);
    ASSERT_TRUE(otherEnded);
    const DWORD firstStatus = WaitForExit();

    EXPECT_EQ(otherStatus, 3u);
    EXPECT_EQ(firstStatus, 0u);
    EXPECT_TRUE(qztest::Exists(first + "\\db1\\vm001.dbf"));
    EXPECT_FALSE(qztest::Exists(second));
    const auto log = RunLog();
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& line) { return line.find("Start Keepset") != std::string::npos; }),
              1);
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& line) { return line.find("Another copy") != std::string::npos; }),
              1);
}

TEST_F(Installation, FrenchWithoutItsLibraryWarnsAndOpensInEnglish)
{
    SetLanguage("FR");
    StartProgram();
    const HWND box = qzauto::WaitForMessageBox("Error !", program_.Id());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(qzauto::MessageBoxText(box), "Failed to load the resource DLL qzkeep_fr.dll !");
    qzauto::PressButton(box, IDOK);
    const HWND window = MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(qzauto::ControlText(window, IDC_SAVE_DATA), "Save data");
    EXPECT_EQ(ExitProgram(window), 0u);
}

TEST_F(Installation, FrenchWithItsLibraryOpensInFrenchAndLowerCaseLoadsNothing)
{
    QZ_REQUIRE_LANGUAGE_LIBRARY("fr");
    const std::string frenchTitle = TextOf("fr", IDS_MAIN_TITLE);
    ASSERT_FALSE(frenchTitle.empty());
    ASSERT_NE(frenchTitle, e2e::kEnglishTitle);

    SetLanguage("FR");
    StartProgram();
    HWND window = MainWindow(frenchTitle);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(qzauto::ControlText(window, IDC_SAVE_DATA), TextOf("fr", IDS_SAVE_DATA));
    EXPECT_EQ(ExitProgram(window), 0u);

    // "dt" is no language: the library beside the program stays unused.
    ASSERT_TRUE(PlaceLanguageLibrary("dt"));
    SetLanguage("dt");
    StartProgram();
    window = MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(qzauto::FindTopWindow("#32770", "Error !", program_.Id()), nullptr);
    EXPECT_EQ(ExitProgram(window), 0u);
}

TEST_F(Installation, SettingsAndRestoreOpenOverTheWindow)
{
    StartProgram();
    const HWND window = MainWindow();
    ASSERT_NE(window, nullptr);
    const struct {
        int button;
        const char* title;
    } dialogs[] = {{IDC_SETTINGS, "Settings"}, {IDC_RESTORE_DATA, "Restore data"}};
    for (const auto& expected : dialogs) {
        qzauto::ClickButton(window, expected.button);
        // With no keepset yet the restore dialog says so in a box first.
        HWND dialog = nullptr;
        ASSERT_TRUE(qzauto::WaitUntil([&] {
            dialog = qzauto::FindTopWindow("#32770", expected.title, program_.Id());
            if (dialog != nullptr && IsWindowVisible(dialog))
                return true;
            // The dialog itself may have become visible since it was looked
            // for: only a box is answered.
            const HWND box = qzauto::WaitForDialogOf(program_.Id(), window, 0);
            if (box != nullptr && qzauto::WindowText(box) != expected.title)
                qzauto::PressButton(box, IDOK);
            return false;
        })) << expected.title;
        qzauto::PressButton(dialog, IDCANCEL);
        EXPECT_TRUE(qzauto::WaitUntilGone(dialog)) << expected.title;
    }
    EXPECT_EQ(ExitProgram(window), 0u);
}

TEST_F(Installation, SettingsAndRestoreOpenWhileASaveWaitsForItsBox)
{
    StartProgram();
    const HWND window = MainWindow();
    ASSERT_NE(window, nullptr);
    qzauto::SetControlText(window, IDC_SAVE_DIRECTORY, Root() + "\\keep");
    qzauto::ClickButton(window, IDC_SAVE_DATA);
    // The run holds on until its box is closed.
    const HWND outcome = qzauto::WaitForMessageBox("Information", program_.Id());
    ASSERT_NE(outcome, nullptr);

    qzauto::ClickButton(window, IDC_SETTINGS);
    const HWND settings = qzauto::WaitForWindow("Settings", program_.Id());
    ASSERT_NE(settings, nullptr);
    qzauto::PressButton(settings, IDCANCEL);
    ASSERT_TRUE(qzauto::WaitUntilGone(settings));

    // Its keepset is listed, and by the time of the box whole and recorded
    // (the record comes before the batch program and the box): the
    // restore dialog opens on the keepset list at once.
    EXPECT_EQ(ConfigValue("Save1", "State"), "complete");
    EXPECT_TRUE(qztest::Exists(Root() + "\\keep\\qzkeepset.inf"));
    qzauto::ClickButton(window, IDC_RESTORE_DATA);
    const HWND restore = qzauto::WaitForWindow("Restore data", program_.Id());
    ASSERT_NE(restore, nullptr);
    EXPECT_TRUE(qzauto::IsButtonChecked(restore, IDC_RST_SOURCE_KEEPSET_LIST));
    qzauto::PressButton(restore, IDCANCEL);
    ASSERT_TRUE(qzauto::WaitUntilGone(restore));

    EXPECT_TRUE(IsWindow(outcome));
    EXPECT_FALSE(qzauto::IsControlEnabled(window, IDC_SAVE_DATA));
    qzauto::PressButton(outcome, IDOK);
    ASSERT_TRUE(qzauto::WaitUntil([&] { return qzauto::IsControlEnabled(window, IDC_SAVE_DATA); }));
    EXPECT_TRUE(qztest::Exists(Root() + "\\keep\\qzkeepset.inf"));
    EXPECT_EQ(ConfigValue("Save1", "State"), "complete");
    EXPECT_EQ(ExitProgram(window), 0u);
}

TEST_F(Installation, ShowLogfileAndRecoveryDiskStartTheirPrograms)
{
    PlaceStandIn("notepad.exe");
    PlaceStandIn("ntbackup.exe");
    PlaceStandIn("rdisk.exe");
    StartProgram();
    const HWND window = MainWindow();
    ASSERT_NE(window, nullptr);

    // No run log yet: nothing to show.
    qzauto::ClickButton(window, IDC_SHOW_LOGFILE);
    qzauto::ClickButton(window, IDC_RECOVERY_DISK);
    ASSERT_TRUE(qzauto::WaitUntil([&] { return !StartedPrograms().empty(); }));
    EXPECT_EQ(StartedPrograms(), std::vector<std::string>{"ntbackup.exe|"});

    qztest::WriteFileText("Q:\\log\\qzkeepset.log", "07.12.2026, 10:18:31, Start Keepset\r\n");
    qzauto::ClickButton(window, IDC_SHOW_LOGFILE);
    ASSERT_TRUE(qzauto::WaitUntil([&] { return StartedPrograms().size() == 2; }));
    EXPECT_EQ(StartedPrograms()[1], "notepad.exe|log\\qzkeepset.inf");
    EXPECT_EQ(qztest::ReadFileText("Q:\\log\\qzkeepset.inf"), "07.12.2026, 10:18:31, Start Keepset\r\n");
    EXPECT_EQ(ExitProgram(window), 0u);
}

// The windows a person sees, in English and in German when the build has
// the German library: a save with a missing file (green and red lines), the
// About box and the folder browser. Screenshots go to build/.../screenshots.
class WindowsInEachLanguage : public Installation, public ::testing::WithParamInterface<const char*> {};

TEST_P(WindowsInEachLanguage, SaveWithAnErrorAboutBoxAndFolderBrowser)
{
    const std::string code = GetParam();
    if (!code.empty()) {
        QZ_REQUIRE_LANGUAGE_LIBRARY(code);
        SetLanguage(code == "dt" ? "DT" : "FR");
    }
    const std::string name = code.empty() ? "en" : code;
    DeleteFileA("Q:\\db1\\vm001.dbf");
    StartProgram();
    const HWND window = MainWindow(TextOf(code, IDS_MAIN_TITLE));
    ASSERT_NE(window, nullptr);
    qzauto::SetControlText(window, IDC_SAVE_DIRECTORY, Root() + "\\keep");
    qzauto::ClickButton(window, IDC_SAVE_DATA);

    const HWND box = qzauto::WaitForMessageBox(TextOf(code, IDS_ERROR_CAPTION), program_.Id());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(qzauto::ControlText(window, IDC_SAVE_DATA), TextOf(code, IDS_SAVING));
    qzauto::PressButton(box, IDOK);
    ASSERT_TRUE(qzauto::WaitUntil([&] { return qzauto::IsControlEnabled(window, IDC_SAVE_DATA); }));
    EXPECT_EQ(qzauto::ControlText(window, IDC_SAVE_DATA), TextOf(code, IDS_SAVE_DATA));
    const auto lines = qzauto::ListLines(window, IDC_MESSAGE_LIST);
    EXPECT_EQ(CountColour(lines, kRed), 1u);
    EXPECT_EQ(CountColour(lines, kGreen), lines.size() - 1);
    // The run selects its first failure.
    const auto selected = SendMessageA(GetDlgItem(window, IDC_MESSAGE_LIST), LB_GETCURSEL, 0, 0);
    ASSERT_GE(selected, 0);
    EXPECT_EQ(lines[static_cast<std::size_t>(selected)].data, kRed);
    TakeScreenshot("main-window-after-save-" + name);

    PostMessageA(window, WM_SYSCOMMAND, IDM_ABOUT, 0);
    const HWND about = qzauto::WaitForDialogOf(program_.Id(), window);
    ASSERT_NE(about, nullptr);
    TakeScreenshot("about-" + name);
    qzauto::PressButton(about, IDOK);
    ASSERT_TRUE(qzauto::WaitUntilGone(about));

    qzauto::ClickButton(window, IDC_BROWSE);
    const HWND browser = qzauto::WaitForDialogOf(program_.Id(), window);
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(qzauto::WindowText(browser), TextOf(code, IDS_SAVE_BROWSER_TITLE));
    // It opens at the default save directory, made for it.
    EXPECT_TRUE(qzauto::WaitUntil(
        [&] { return qzauto::ControlText(browser, IDC_BRW_SELECTED_PATH) == "Q:\\qzkeepset"; }, 10000));
    EXPECT_TRUE(qztest::Exists("Q:\\qzkeepset"));
    TakeScreenshot("folder-browser-" + name);
    qzauto::PressButton(browser, IDCANCEL);
    ASSERT_TRUE(qzauto::WaitUntilGone(browser));
    EXPECT_EQ(qzauto::ControlText(window, IDC_SAVE_DIRECTORY), Root() + "\\keep");

    EXPECT_EQ(ExitProgram(window), 0u);
}

INSTANTIATE_TEST_SUITE_P(Languages, WindowsInEachLanguage, ::testing::Values("", "dt"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(*info.param == '\0' ? "English" : "German");
                         });
