// The main window in the test program: how it opens, what its handlers do
// with the save run's messages, the Save and Browse commands, the cursor,
// the About box and the unattended end.
#include "MainWindowFixture.h"

#include "Automation.h"
#include "config/SaveSettings.h"
#include "resource.h"
#include "support/WineHost.h"
#include "win/CallCounter.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <thread>

using uitest::MainWindowTest;

namespace {

std::string MenuItemText(HMENU menu, int position)
{
    char text[128] = "";
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

std::string Today(const char* format)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, format, now.wYear, now.wMonth, now.wDay);
    return text;
}

// Waits in a thread of its own for a window of this process with the
// title, lets `inspect` look at it, then closes it with OK.
class WindowCloser {
public:
    WindowCloser(const std::string& title, std::function<void(HWND)> inspect)
        : thread_([this, title, inspect] {
              const HWND window = qzauto::WaitForWindow(title, GetCurrentProcessId(), 20000);
              if (window == nullptr)
                  return;
              seen = true;
              inspect(window);
              PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
          })
    {
    }
    ~WindowCloser() { thread_.join(); }
    bool seen = false;

private:
    std::thread thread_;
};

}  // namespace

TEST_F(MainWindowTest, OpensIdleWithTitleAboutItemIconsAndTheLastSaveDirectory)
{
    qztest::WriteFileText(qztest::ConfigFilePath(), "[Config]\r\nLastKeepsetDir=D:\\keep\\DD.MM\r\n");
    Open();

    char title[128] = "";
    GetWindowTextA(Window(), title, sizeof title);
    EXPECT_STREQ(title, "Orvella Backup and Restore Tool");
    // The stored directory is shown as typed, patterns and all.
    EXPECT_EQ(ItemText(IDC_SAVE_DIRECTORY), "D:\\keep\\DD.MM");
    EXPECT_EQ(SendDlgItemMessageA(Window(), IDC_SAVE_DIRECTORY, EM_GETLIMITTEXT, 0, 0), 511);

    const HMENU systemMenu = GetSystemMenu(Window(), FALSE);
    ASSERT_NE(systemMenu, nullptr);
    const int count = GetMenuItemCount(systemMenu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuState(systemMenu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR,
              static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(GetMenuItemID(systemMenu, count - 1), static_cast<UINT>(IDM_ABOUT));
    EXPECT_EQ(MenuItemText(systemMenu, count - 1), "&About Qzkeepset...");

    const LRESULT bigIcon = SendMessageA(Window(), WM_GETICON, ICON_BIG, 0);
    EXPECT_NE(bigIcon, 0);
    EXPECT_NE(SendMessageA(Window(), WM_GETICON, ICON_SMALL, 0), 0);
    EXPECT_EQ(SendMessageA(Window(), WM_QUERYDRAGICON, 0, 0), bigIcon);

    EXPECT_EQ(SendDlgItemMessageA(Window(), IDC_MESSAGE_LIST, LB_GETCOUNT, 0, 0), 0);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Window(), IDC_SAVE_DATA)));
    EXPECT_EQ(ItemText(IDC_SAVE_DATA), "Save data");
    EXPECT_FALSE(dialog_->IsBusy());
    EXPECT_EQ(SaveSetting(&SaveSettingsRecord::MainWindow), Window());
    EXPECT_EQ(SaveSetting(&SaveSettingsRecord::Unattended), 0);
    EXPECT_EQ(SaveSetting(&SaveSettingsRecord::DefaultSaveDir), "Q:\\qzkeepset");
    // Idle: the dialog leaves the cursor to the system.
    EXPECT_EQ(SendMessageA(Window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Window()), HTCLIENT), 0);
}

TEST_F(MainWindowTest, ReportLinesGoToTheListInTheirColours)
{
    Open();
    const HWND list = GetDlgItem(Window(), IDC_MESSAGE_LIST);
    EXPECT_EQ(SendMessageA(Window(), WM_USER + 2, 0, reinterpret_cast<LPARAM>("C:\\a saved to E:\\a")), 1);
    EXPECT_EQ(SendMessageA(Window(), WM_USER + 2, 7, reinterpret_cast<LPARAM>("FAILED to save C:\\b to E:\\b !")), 1);
    // Empty texts add nothing.
    EXPECT_EQ(SendMessageA(Window(), WM_USER + 2, 0, reinterpret_cast<LPARAM>("")), 1);
    EXPECT_EQ(SendMessageA(Window(), WM_USER + 2, 1, 0), 1);
    // A longer text is held to 511 characters.
    const std::string longLine(700, 'x');
    SendMessageA(Window(), WM_USER + 2, 0, reinterpret_cast<LPARAM>(longLine.c_str()));

    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 0, 0), 0x00006400);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 1, 0), 0x000000FF);
    EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 2, 0), 511);
    char text[64] = "";
    SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "FAILED to save C:\\b to E:\\b !");
    // The list is not scrolled or selected by the handler.
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(MainWindowTest, EndOfARunWhileIdleChangesNothing)
{
    Open();
    EXPECT_EQ(SendMessageA(Window(), WM_USER + 1, 0, 0), 1);
    EXPECT_EQ(SendMessageA(Window(), WM_USER + 1, 1002, 0), 1);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Window(), IDC_SAVE_DATA)));
    EXPECT_EQ(ItemText(IDC_SAVE_DATA), "Save data");
    EXPECT_TRUE(dialog_->endedWith.empty());
}

TEST_F(MainWindowTest, SaveKeepsThePatternsInTheConfigurationAndGivesTheRunTodaysDirectory)
{
    Open();
    const std::string typed = scratch_->Path() + "\\keep\\YYYY-MM-DD";
    SetDlgItemTextA(Window(), IDC_SAVE_DIRECTORY, typed.c_str());
    Click(IDC_SAVE_DATA);

    // Busy until the run has ended: Save disabled, hourglass over the window.
    EXPECT_TRUE(dialog_->IsBusy());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Window(), IDC_SAVE_DATA)));
    EXPECT_EQ(ItemText(IDC_SAVE_DATA), "Saving");
    EXPECT_EQ(SendMessageA(Window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Window()), HTCLIENT), TRUE);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));

    EXPECT_EQ(ConfigValue("LastKeepsetDir"), typed);
    EXPECT_EQ(SaveSetting(&SaveSettingsRecord::SaveDir), scratch_->Path() + "\\keep\\" + Today("%04u-%02u-%02u"));
    EXPECT_EQ(SaveSetting(&SaveSettingsRecord::LogPath), "log\\qzkeepset.log");

    ASSERT_TRUE(PumpUntil([this] { return !dialog_->IsBusy(); })) << "the save run did not end";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Window(), IDC_SAVE_DATA)));
    EXPECT_EQ(ItemText(IDC_SAVE_DATA), "Save data");
    EXPECT_EQ(ItemText(IDC_SAVE_DIRECTORY), typed);
    EXPECT_TRUE(qztest::Exists(scratch_->Path() + "\\keep\\" + Today("%04u-%02u-%02u")));
    EXPECT_GT(SendDlgItemMessageA(Window(), IDC_MESSAGE_LIST, LB_GETCOUNT, 0, 0), 0);
    EXPECT_TRUE(dialog_->endedWith.empty());
}

TEST_F(MainWindowTest, SaveWithoutPatternsAndWithALongTextUsesWhatFits)
{
    Open();
    // Set from outside, past the edit's limit: the command takes 511.
    const std::string typed = "Q:\\keep\\dd_" + std::string(600, 'k');
    SetDlgItemTextA(Window(), IDC_SAVE_DIRECTORY, typed.c_str());
    Click(IDC_SAVE_DATA);
    EXPECT_EQ(ConfigValue("LastKeepsetDir"), typed.substr(0, 511));
    EXPECT_EQ(SaveSetting(&SaveSettingsRecord::SaveDir), typed.substr(0, 511));
    ASSERT_TRUE(PumpUntil([this] { return !dialog_->IsBusy(); })) << "the save run did not end";
}

TEST_F(MainWindowTest, ALastSaveDirectoryThatCannotBeWrittenIsToldAndTheSaveGoesOn)
{
    const std::string config = qztest::ConfigFilePath();
    qztest::WriteFileText(config, "[Config]\r\nLastKeepsetDir=E:\\old\r\n");
    Open();
    // Only this write fails: a save run that cannot mark its entry either
    // saves nothing (the save run's own tests).
    win::ResetCalls();
    win::FailCall(win::Op::FileMove, 1, ERROR_ACCESS_DENIED);
    SetDlgItemTextA(Window(), IDC_SAVE_DIRECTORY, (scratch_->Path() + "\\keep").c_str());
    Click(IDC_SAVE_DATA);
    ASSERT_TRUE(PumpUntil([this] { return !dialog_->IsBusy(); })) << "the save run did not end";
    ASSERT_FALSE(boxes_.empty());
    EXPECT_EQ(boxes_[0].text, config + " could not be written !\nThe file was left as it was.");
    EXPECT_EQ(ConfigValue("LastKeepsetDir"), "E:\\old");
    EXPECT_TRUE(qztest::Exists(scratch_->Path() + "\\keep\\db1"));
}

TEST_F(MainWindowTest, UnattendedSavesBeforeTheWindowShowsAndEndsWithTheRunsOutcome)
{
    // A command-line directory; the installation has nothing to save, so
    // the run has errors.
    const std::string given = scratch_->Path() + "\\unattended";
    Open(given);
    EXPECT_EQ(SaveSetting(&SaveSettingsRecord::Unattended), 1);
    EXPECT_EQ(ConfigValue("LastKeepsetDir"), given);
    EXPECT_EQ(ItemText(IDC_SAVE_DIRECTORY), given);
    ASSERT_TRUE(PumpUntil([this] { return !dialog_->endedWith.empty(); })) << "the program was not ended";
    EXPECT_EQ(dialog_->endedWith, std::vector<int>{1});
}

TEST_F(MainWindowTest, SettingsAndRestoreOpenTheirDialogs)
{
    Open();
    Click(IDC_SETTINGS);
    Click(IDC_RESTORE_DATA);
    EXPECT_EQ(dialog_->settingsOpened, 1);
    EXPECT_EQ(dialog_->restoreOpened, 1);
}

TEST_F(MainWindowTest, ShowLogfileOpensACopyOfTheRunLogOnlyWhenThereIsOne)
{
    Open();
    win::FailCall(win::Op::ProgramStart, 1, ERROR_FILE_NOT_FOUND);
    Click(IDC_SHOW_LOGFILE);
    EXPECT_EQ(win::CallCount(win::Op::ProgramStart), 0u);

    qztest::WriteFileText(scratch_->Path() + "\\log\\qzkeepset.log", "07.12.2026, 10:18:31, Start Keepset\r\n");
    Click(IDC_SHOW_LOGFILE);
    EXPECT_EQ(win::CallCount(win::Op::ProgramStart), 1u);
    EXPECT_EQ(qztest::ReadFileText(scratch_->Path() + "\\log\\qzkeepset.inf"),
              "07.12.2026, 10:18:31, Start Keepset\r\n");
}

TEST_F(MainWindowTest, BrowseMakesTheDefaultSaveDirectoryAndOpensThere)
{
    Open();
    SetDlgItemTextA(Window(), IDC_SAVE_DIRECTORY, "C:\\elsewhere");
    std::string shownPath;
    {
        WindowCloser closer("Save", [&shownPath](HWND browser) {
            qzauto::WaitUntil([&] { return !qzauto::ControlText(browser, IDC_BRW_SELECTED_PATH).empty(); }, 5000);
            shownPath = qzauto::ControlText(browser, IDC_BRW_SELECTED_PATH);
            uitest::TakeScreenshot("folder-browser-in-process");
        });
        Click(IDC_BROWSE);
    }
    // Made level by level with the directory call, never by a command.
    EXPECT_EQ(win::CallCount(win::Op::CommandInterpreter), 0u);
    EXPECT_EQ(win::CallCount(win::Op::DirectoryCreate), 1u);
    EXPECT_TRUE(qztest::Exists(scratch_->Path() + "\\qzkeepset"));
    EXPECT_EQ(shownPath, "Q:\\qzkeepset");
    EXPECT_EQ(ItemText(IDC_SAVE_DIRECTORY), "Q:\\qzkeepset");
}

TEST_F(MainWindowTest, SystemMenuAboutOpensTheAboutBox)
{
    Open();
    std::string versionLine;
    {
        WindowCloser closer("About Qzkeepset", [&versionLine](HWND about) {
            HWND child = GetWindow(about, GW_CHILD);
            while (child != nullptr) {
                const std::string text = qzauto::WindowText(child);
                if (text.find("Version") != std::string::npos)
                    versionLine = text;
                child = GetWindow(child, GW_HWNDNEXT);
            }
        });
        // The low four bits of the command do not count.
        SendMessageA(Window(), WM_SYSCOMMAND, IDM_ABOUT | 0x3, 0);
        EXPECT_TRUE(closer.seen);
    }
    EXPECT_EQ(versionLine, "Qzkeepset, Version 4.5");

    // Other commands get the system's handling.
    SendMessageA(Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(Window()));
    RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    SendMessageA(Window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(Window()));
}

namespace {

// Watches the main window's thread (WH_CALLWNDPROC) for what the save run
// sends: every report line as it was sent, and the requests to the list.
// Each is also passed at once to a plain list box of the same size and line
// height that draws every line as it comes: what the list must look like.
class ReportWatch {
public:
    ReportWatch(HWND dialog, HWND list) : dialog_(dialog), list_(list)
    {
        RECT size;
        GetWindowRect(list, &size);
        // Beside the main window, not over it.
        owner_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, -2000, 0, size.right - size.left + 20,
                                 size.bottom - size.top + 20, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        const DWORD style = static_cast<DWORD>(GetWindowLongA(list, GWL_STYLE)) & ~LBS_OWNERDRAWFIXED;
        reference = CreateWindowExA(0, "LISTBOX", "", style | WS_VISIBLE, 0, 0, size.right - size.left,
                                    size.bottom - size.top, owner_, nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(reference, LB_SETITEMHEIGHT, 0, SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
        current = this;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, Watch, nullptr, GetCurrentThreadId());
    }
    ~ReportWatch()
    {
        UnhookWindowsHookEx(hook_);
        current = nullptr;
        DestroyWindow(owner_);
    }

    struct Report {
        std::string text;
        bool failed;
    };
    std::vector<Report> reports;
    HWND reference = nullptr;

private:
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && current != nullptr)
            current->Seen(call);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    void Seen(const CWPSTRUCT& call)
    {
        if (call.hwnd == dialog_ && call.message == WM_USER + 2 && call.lParam != 0 &&
            *reinterpret_cast<const char*>(call.lParam) != '\0') {
            const char* text = reinterpret_cast<const char*>(call.lParam);
            reports.push_back({text, call.wParam != 0});
            const auto index = SendMessageA(reference, LB_ADDSTRING, 0, call.lParam);
            SendMessageA(reference, LB_SETITEMDATA, index, call.wParam != 0 ? 0x0000FF : 0x006400);
        } else if (call.hwnd == list_ && call.message == LB_RESETCONTENT) {
            reports.clear();
            SendMessageA(reference, LB_RESETCONTENT, 0, 0);
        } else if (call.hwnd == list_ && call.message == LB_SELECTSTRING) {
            SendMessageA(reference, LB_SELECTSTRING, call.wParam, call.lParam);
        }
    }

    static ReportWatch* current;
    HWND dialog_;
    HWND list_;
    HWND owner_ = nullptr;
    HHOOK hook_ = nullptr;
};

ReportWatch* ReportWatch::current = nullptr;

}  // namespace

// The list draws its lines at its own pace during a run; at the end it must
// hold and show exactly what was reported, as a list that drew every line
// at once would.
TEST_F(MainWindowTest, ASaveEndsWithExactlyTheReportedLinesInOrderColouredAndTheFirstFailureInView)
{
    qztest::WriteFileText(scratch_->Path() + "\\db1\\vm001.dbf", "alarm");
    char name[32];
    for (int i = 0; i < 300; ++i) {
        std::snprintf(name, sizeof name, "\\qzt\\f%03d.txt", i);
        qztest::WriteFileText(scratch_->Path() + name, name);
    }
    Open();
    const HWND list = GetDlgItem(Window(), IDC_MESSAGE_LIST);
    ASSERT_TRUE(IsWindowVisible(list));
    ReportWatch watch(Window(), list);
    SetDlgItemTextA(Window(), IDC_SAVE_DIRECTORY, (scratch_->Path() + "\\keep").c_str());
    // Two copies in the middle fail: red lines, the first one selected.
    win::FailCall(win::Op::FileCopy, 150, ERROR_ACCESS_DENIED);
    win::FailCall(win::Op::FileCopy, 230, ERROR_ACCESS_DENIED);
    Click(IDC_SAVE_DATA);
    ASSERT_TRUE(PumpUntil([this] { return !dialog_->IsBusy(); })) << "the save run did not end";
    PumpUntil([list] { return GetUpdateRect(list, nullptr, FALSE) == FALSE; }, 2000);

    const auto& reports = watch.reports;
    ASSERT_GE(reports.size(), 300u);
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), static_cast<LRESULT>(reports.size()));
    int firstFailure = -1;
    int failures = 0;
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const int index = static_cast<int>(i);
        char text[600] = "";
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        ASSERT_EQ(text, reports[i].text) << "line " << i;
        ASSERT_EQ(SendMessageA(list, LB_GETITEMDATA, i, 0), reports[i].failed ? 0x0000FF : 0x006400) << "line " << i;
        if (reports[i].failed && firstFailure < 0)
            firstFailure = index;
        failures += reports[i].failed ? 1 : 0;
    }
    EXPECT_EQ(failures, 2);
    ASSERT_GT(firstFailure, 100);
    EXPECT_EQ(reports[static_cast<std::size_t>(firstFailure)].text.rfind("FAILED to save", 0), 0u);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), firstFailure);

    // Scrolled as the list that drew every line: the first failure in view.
    const HWND reference = watch.reference;
    EXPECT_EQ(SendMessageA(reference, LB_GETCURSEL, 0, 0), firstFailure);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), SendMessageA(reference, LB_GETTOPINDEX, 0, 0));
    EXPECT_EQ(SendMessageA(list, LB_GETCARETINDEX, 0, 0), SendMessageA(reference, LB_GETCARETINDEX, 0, 0));
    EXPECT_GT(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);

    // And drawn: every line in view in its colour, the selected one on red.
    RECT client;
    GetClientRect(list, &client);
    const HDC dc = GetDC(list);
    const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    for (int index = top; index < static_cast<int>(reports.size()); ++index) {
        RECT line;
        SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&line));
        if (line.bottom > client.bottom)
            break;
        const bool selected = index == firstFailure;
        const COLORREF colour = selected ? RGB(255, 0, 0) : reports[static_cast<std::size_t>(index)].failed
                                                                ? RGB(255, 0, 0)
                                                                : RGB(0, 100, 0);
        bool drawn = false;
        for (int x = line.left; x < line.right && !drawn; ++x)
            for (int y = line.top; y < line.bottom && !drawn; ++y)
                drawn = GetPixel(dc, x, y) == colour;
        EXPECT_TRUE(drawn) << "line " << index << " is not drawn";
        if (selected) {
            EXPECT_EQ(GetPixel(dc, line.right - 2, (line.top + line.bottom) / 2), RGB(255, 0, 0));
        }
    }
    ReleaseDC(list, dc);
    uitest::TakeScreenshot("main-window-after-a-save-with-failures");
}
