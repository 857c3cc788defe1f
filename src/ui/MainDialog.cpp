#include "ui/MainDialog.h"

#include "config/ConfigFile.h"
#include "config/LoadSaveSettings.h"
#include "config/ProfileFileUpdate.h"
#include "config/SaveSettings.h"
#include "controls/FolderBrowserDialog.h"
#include "keepset/RunEvents.h"
#include "resource.h"
#include "save/DatePatterns.h"
#include "save/EnsureDirectory.h"
#include "save/SaveRun.h"
#include "ui/AboutDialog.h"
#include "ui/MainDialogRules.h"
#include "ui/RestoreDialog.h"
#include "ui/SettingsDialog.h"
#include "win/Files.h"
#include "win/Images.h"
#include "win/MessageBoxes.h"
#include "win/Process.h"
#include "win/Registry.h"
#include "win/Texts.h"

static_assert(kSaveRunEndMessage == WM_USER + 1 && kSaveRunEndMessage == DM_SETDEFID,
              "the end of a save run and the default-button request share one number");
static_assert(kColourMessageListId == IDC_MESSAGE_LIST, "the save run's list is the main window's");

namespace {

constexpr UINT kReportLineMessage = WM_USER + 2;
// Report lines come far faster than anyone reads them; the list shows the
// new ones at this pace (and at once when the run ends).
constexpr UINT_PTR kShowLinesTimer = 1;
constexpr UINT kShowLinesInterval = 100;
const char* const kRunLog = "log\\qzkeepset.log";
// The run log is shown from a copy, so a viewer holding the file open does
// not stand in the next run's way.
const char* const kRunLogCopy = "log\\qzkeepset.inf";
const char* const kShowRunLogCommand = "notepad.exe log\\qzkeepset.inf";
const char* const kWindowsVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr std::size_t kWindowsVersionBytes = 40;

// The text of a report line, to its first NUL but no further than a line
// may be.
std::string ReportText(LPARAM address)
{
    const char* text = reinterpret_cast<const char*>(address);
    if (text == nullptr)
        return std::string();
    std::size_t length = 0;
    while (length < kReportLineLength && text[length] != '\0')
        ++length;
    return std::string(text, length);
}

}  // namespace

MainDialog::MainDialog()
    : Dialog(IDD_MAIN),
      icon_(win::LoadIconResource(IDI_PROGRAM, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON))),
      smallIcon_(win::LoadIconResource(IDI_PROGRAM, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)))
{
}

MainDialog::~MainDialog()
{
    if (icon_ != nullptr)
        DestroyIcon(icon_);
    if (smallIcon_ != nullptr)
        DestroyIcon(smallIcon_);
}

bool MainDialog::OnInitDialog()
{
    AttachControls();
    // A save run sends one line after another while it waits for each.
    AnswerAheadOfDialogManager(kReportLineMessage);
    ShowSaveDirectoryText();
    AddAboutToSystemMenu();
    SendMessageA(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    SetWindowTitle(win::LoadText(IDS_MAIN_TITLE));
    GiveButtonsTheirIcons();
    // Sends WM_USER+1, whose handler sets the idle state now.
    saveButton_.SetDefault(true);
    messageList_.RemoveAllLines();
    LoadSaveSettings(SaveDirectoryText);
    const HWND window = Window();
    UpdateSaveSettings([window](SaveSettingsRecord& settings) { settings.MainWindow = window; });
    Busy = 0;
    ShowSaveDirectoryText();
    if (SaveSetting(&SaveSettingsRecord::Unattended) != 0)
        OnSave();
    return true;
}

void MainDialog::AttachControls()
{
    messageList_.Attach(Item(IDC_MESSAGE_LIST));
    exitButton_.Attach(Item(IDOK));
    settingsButton_.Attach(Item(IDC_SETTINGS));
    recoveryDiskButton_.Attach(Item(IDC_RECOVERY_DISK));
    saveButton_.Attach(Item(IDC_SAVE_DATA));
    showLogfileButton_.Attach(Item(IDC_SHOW_LOGFILE));
    restoreButton_.Attach(Item(IDC_RESTORE_DATA));
    // No more than the save run can take.
    SendItemMessage(IDC_SAVE_DIRECTORY, EM_LIMITTEXT, kSaveDirectoryTextLength);
}

void MainDialog::AddAboutToSystemMenu()
{
    const HMENU systemMenu = GetSystemMenu(Window(), FALSE);
    if (systemMenu == nullptr)
        return;
    const std::string about = win::LoadText(IDS_ABOUT_MENU);
    if (about.empty())
        return;
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, IDM_ABOUT, about.c_str());
}

void MainDialog::GiveButtonsTheirIcons()
{
    exitButton_.SetIcon(IDI_EXIT, 20, 20);
    settingsButton_.SetIcon(IDI_SETTINGS, 20, 20);
    saveButton_.SetIcon(IDI_SAVE, 20, 20);
    recoveryDiskButton_.SetIcon(IDI_RECOVERY_DISK, 18, 18);
    showLogfileButton_.SetIcon(IDI_SHOW_LOG, 20, 20);
    restoreButton_.SetIcon(IDI_RESTORE, 20, 20);
}

void MainDialog::ShowSaveDirectoryText()
{
    SetItemText(IDC_SAVE_DIRECTORY, SaveDirectoryText);
}

void MainDialog::ReadSaveDirectoryText()
{
    SaveDirectoryText = ItemText(IDC_SAVE_DIRECTORY).substr(0, kSaveDirectoryTextLength);
}

bool MainDialog::OnButtonClicked(int id)
{
    switch (id) {
    case IDC_BROWSE:
        OnBrowse();
        return true;
    case IDC_SAVE_DATA:
        OnSave();
        return true;
    case IDC_SETTINGS:
        OpenSettings();
        return true;
    case IDC_RESTORE_DATA:
        OpenRestore();
        return true;
    case IDC_SHOW_LOGFILE:
        OnShowLogfile();
        return true;
    case IDC_RECOVERY_DISK:
        OnCreateRecoveryDisk();
        return true;
    default:
        return Dialog::OnButtonClicked(id);
    }
}

// The browser opens at the default save directory, made first when it is
// missing, whatever the edit shows.
void MainDialog::OnBrowse()
{
    const std::string defaultSaveDir = SaveSetting(&SaveSettingsRecord::DefaultSaveDir);
    if (!defaultSaveDir.empty() && !win::EntryExists(defaultSaveDir))
        CreateDirectoryLevels(defaultSaveDir);
    FolderBrowserDialog browser(Window());
    browser.SetTitle(win::LoadText(IDS_SAVE_BROWSER_TITLE));
    browser.Prompt = win::LoadText(IDS_SAVE_BROWSER_PROMPT);
    browser.InitialPath = defaultSaveDir;
    if (browser.RunModal() == IDOK)
        SetItemText(IDC_SAVE_DIRECTORY, browser.GetSelectedPath());
}

// The configuration keeps the directory as typed, date patterns and all;
// the run gets it with today's date put in.
void MainDialog::OnSave()
{
    ReadSaveDirectoryText();
    Busy = 1;
    // The save goes on without it; the user is told (a run-log line when
    // nobody is there to read a box).
    if (!WriteConfigValue(kSectionConfig, "LastKeepsetDir", SaveDirectoryText))
        win::ShowMessageBox(win::FormatText(IDS_FILE_WRITE_FAILED, ProfileFilePath(kConfigFile)),
                            win::LoadText(IDS_ERROR_CAPTION), win::kBoxIconWarning);
    std::string saveDir = SaveDirectoryText;
    if (ContainsDatePattern(saveDir))
        ExpandDatePatterns(saveDir);
    const std::string typed = SaveDirectoryText;
    UpdateSaveSettings([&saveDir, &typed](SaveSettingsRecord& settings) {
        settings.SaveDir = saveDir;
        settings.SaveDirAsTyped = typed;
        settings.LogPath = kRunLog;
    });
    // Disabled before the run starts, so that no second run can begin.
    SetSaveButtonIdle(false);
    if (StartSaveRun())
        return;
    Busy = 0;
    SetSaveButtonIdle(true);
    if (SaveSetting(&SaveSettingsRecord::Unattended) != 0)
        EndProgram(1);
}

void MainDialog::OnShowLogfile()
{
    if (win::CopyFileReplacing(kRunLog, kRunLogCopy))
        win::StartProgram(kShowRunLogCommand, win::kShowNormal);
}

void MainDialog::OnCreateRecoveryDisk()
{
    std::string version;
    win::ReadRegistryString(win::RegistryRoot::LocalMachine, kWindowsVersionKey, "CurrentVersion",
                            kWindowsVersionBytes, version);
    win::StartProgram(RecoveryProgramFor(version), win::kShowNormal);
}

void MainDialog::OpenSettings()
{
    SettingsDialog settings;
    settings.RunModal();
}

void MainDialog::OpenRestore()
{
    RestoreDialog restore;
    restore.RunModal();
}

void MainDialog::EndProgram(int exitStatus)
{
    ReportSaveEvent(SaveSetting(&SaveSettingsRecord::SaveDir), exitStatus);
    win::EndProcess(static_cast<unsigned>(exitStatus));
}

void MainDialog::SetSaveButtonIdle(bool idle)
{
    EnableItem(IDC_SAVE_DATA, idle);
    SetItemText(IDC_SAVE_DATA, win::LoadText(idle ? IDS_SAVE_DATA : IDS_SAVING));
}

bool MainDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case kSaveRunEndMessage:
        result = OnSaveRunEnded();
        return true;
    case kReportLineMessage:
        result = OnReportLine(wParam, lParam);
        return true;
    case WM_TIMER:
        if (wParam != kShowLinesTimer)
            return false;
        ShowReportLines();
        return true;
    case WM_SETCURSOR:
        result = TRUE;
        return OnSetCursor();
    case WM_SYSCOMMAND:
        return OnSystemCommand(wParam);
    case WM_PAINT:
        return OnPaint();
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(icon_);
        return true;
    case WM_MEASUREITEM:
        result = TRUE;
        return OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM:
        result = TRUE;
        return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    default:
        return false;
    }
}

// Also the answer to the Save button's default-button request at start,
// which shares the message's number: then it only sets the idle state.
LRESULT MainDialog::OnSaveRunEnded()
{
    ShowReportLines();
    Busy = 0;
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    SetSaveButtonIdle(true);
    // The run has shown its outcome already; a scheduler learns it from
    // the exit status.
    if (SaveSetting(&SaveSettingsRecord::Unattended) != 0)
        EndProgram(LastSaveRunHadErrors() ? 1 : 0);
    return 1;
}

LRESULT MainDialog::OnReportLine(WPARAM failed, LPARAM text)
{
    const std::string line = ReportText(text);
    if (line.empty())
        return 1;
    const bool wasHeld = messageList_.HoldsLines();
    messageList_.AddLineHeld(line, failed != 0 ? kFailureLineColour : kSuccessLineColour);
    if (!wasHeld && messageList_.HoldsLines())
        SetTimer(Window(), kShowLinesTimer, kShowLinesInterval, nullptr);
    return 1;
}

void MainDialog::ShowReportLines()
{
    KillTimer(Window(), kShowLinesTimer);
    messageList_.ShowHeldLines();
}

bool MainDialog::OnSetCursor()
{
    if (Busy == 0)
        return false;
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    return true;
}

bool MainDialog::OnSystemCommand(WPARAM command)
{
    if ((command & 0xFFF0) != IDM_ABOUT)
        return false;
    AboutDialog about;
    about.RunModal();
    return true;
}

bool MainDialog::OnPaint()
{
    if (!IsIconic(Window()))
        return false;
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(Window(), &paint);
    SendMessageA(Window(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(Window(), &client);
    const int x = CentredIconOffset(client.right - client.left, GetSystemMetrics(SM_CXICON));
    const int y = CentredIconOffset(client.bottom - client.top, GetSystemMetrics(SM_CYICON));
    DrawIcon(dc, x, y, icon_);
    EndPaint(Window(), &paint);
    return true;
}

bool MainDialog::OnMeasureItem(MEASUREITEMSTRUCT& measure)
{
    if (measure.CtlID != IDC_MESSAGE_LIST)
        return false;
    ColourMessageList::MeasureItem(measure);
    return true;
}

bool MainDialog::OnDrawItem(const DRAWITEMSTRUCT& draw)
{
    switch (draw.CtlID) {
    case IDC_MESSAGE_LIST:
        messageList_.DrawItem(draw);
        return true;
    case IDOK:
        exitButton_.DrawItem(draw);
        return true;
    case IDC_SETTINGS:
        settingsButton_.DrawItem(draw);
        return true;
    case IDC_RECOVERY_DISK:
        recoveryDiskButton_.DrawItem(draw);
        return true;
    case IDC_SAVE_DATA:
        saveButton_.DrawItem(draw);
        return true;
    case IDC_SHOW_LOGFILE:
        showLogfileButton_.DrawItem(draw);
        return true;
    case IDC_RESTORE_DATA:
        restoreButton_.DrawItem(draw);
        return true;
    default:
        return false;
    }
}
