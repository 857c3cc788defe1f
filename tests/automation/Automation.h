#pragma once
// Driving the real program from another process, the way a user would:
// start it, find its windows by title, press its buttons, type into its
// edit, read its list, answer its message boxes and wait for it to end.
// Everything here works across processes (the window messages used are
// the ones the system carries between processes).
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace qzauto {

// How long the waits below wait unless told otherwise.
constexpr DWORD kDefaultWait = 30000;

// A program started for a test. Ends it (hard) if it still runs when the
// object goes.
class Program {
public:
    Program() = default;
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts the command line in the working directory (empty: this
    // process's). False when it could not be started.
    bool Start(const std::string& commandLine, const std::string& workingDirectory = std::string());
    DWORD Id() const { return id_; }
    bool IsRunning() const;
    // Waits for the end, handling this thread's messages meanwhile; false
    // on time-out. exitCode gets the exit status.
    bool WaitForExit(DWORD& exitCode, DWORD timeoutMilliseconds = kDefaultWait);
    // Ends it at once (for tests that failed half-way).
    void Kill();

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// The top-level window with exactly this title (of any process, or of the
// given process when processId is not 0), as soon as it exists and is
// visible; nullptr on time-out.
HWND WaitForWindow(const std::string& title, DWORD processId = 0, DWORD timeoutMilliseconds = kDefaultWait);
// A top-level window of the class with the title, without waiting.
HWND FindTopWindow(const std::string& className, const std::string& title, DWORD processId = 0);
// A visible dialog window (class #32770) of the process other than
// `besides`, whatever its title; nullptr on time-out.
HWND WaitForDialogOf(DWORD processId, HWND besides, DWORD timeoutMilliseconds = kDefaultWait);
// Waits until the window is gone; false on time-out.
bool WaitUntilGone(HWND window, DWORD timeoutMilliseconds = kDefaultWait);

std::string WindowText(HWND window);
std::string ClassName(HWND window);
std::string ControlText(HWND dialog, int id);
// WM_SETTEXT, as typing would leave it.
void SetControlText(HWND dialog, int id, const std::string& text);
// Typing into an edit, a character at a time (WM_CHAR, sent): the edit's
// own limit holds, unlike with WM_SETTEXT.
void TypeText(HWND dialog, int id, const std::string& text);
// A click on a button (BM_CLICK, posted so that a modal window opened by
// the click does not hold up the caller). A disabled button ignores it.
void ClickButton(HWND dialog, int id);
// A command sent to the window (WM_COMMAND, posted).
void PostCommand(HWND window, int id);
bool IsControlEnabled(HWND dialog, int id);

// One line of a list box: its text and its item data.
struct ListLine {
    std::string text;
    unsigned long data;
};
std::vector<ListLine> ListLines(HWND dialog, int id);

// Check boxes and radio buttons: BM_GETCHECK is BST_CHECKED.
bool IsButtonChecked(HWND dialog, int id);

// List views (report view). The texts and rectangles of another process's
// list view are asked for through memory in that process.
int ListViewRowCount(HWND dialog, int id);
// The texts of every row, the item text first, then `columns` - 1
// sub-items.
std::vector<std::vector<std::string>> ListViewRows(HWND dialog, int id, int columns = 1);
// The item data (lParam) of a row.
LPARAM ListViewRowData(HWND dialog, int id, int row);
int ListViewColumnWidth(HWND dialog, int id, int column);
// The check box of a row (state image 2).
bool IsListViewRowChecked(HWND dialog, int id, int row);
// The row with the selection, -1 for none.
int ListViewSelectedRow(HWND dialog, int id);
// A left-button click as the mouse gives it (button down and up, sent):
// on the row's text, on the row's check box, or on the empty area below
// the last row.
void ClickListViewRow(HWND dialog, int id, int row);
void ClickListViewCheckBox(HWND dialog, int id, int row);
void ClickListViewBelowRows(HWND dialog, int id);

// A message box (class #32770) with this caption; nullptr on time-out.
HWND WaitForMessageBox(const std::string& caption, DWORD processId = 0,
                       DWORD timeoutMilliseconds = kDefaultWait);
// The text a message box shows.
std::string MessageBoxText(HWND box);
// Presses one of its buttons (IDOK, IDYES, ...).
void PressButton(HWND box, int id);

// Ends every process of this program file name (such as one left behind
// by a test that was stopped).
void EndProcessesNamed(const std::string& fileName);

// The processes the given process started that still run.
struct ChildProcess {
    DWORD id;
    std::string fileName;
};
std::vector<ChildProcess> ChildProcesses(DWORD parentId);
// Waits until every visible top-level window of the process has handled
// the messages sent before (the handler of a click that started something
// has returned) and has nothing left to paint; false on time-out.
bool WaitUntilSettled(DWORD processId, DWORD timeoutMilliseconds = kDefaultWait);

// Polls the condition every 20 ms until it holds; false on time-out.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds = kDefaultWait);

// The Windows path under which this process sees a Linux path (drive Z:).
std::string WindowsPathOfUnix(const std::string& unixPath);

}  // namespace qzauto
