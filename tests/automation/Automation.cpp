#include "Automation.h"

#include <tlhelp32.h>

#include <vector>

namespace qzauto {
namespace {

constexpr int kMessageBoxTextId = 0xFFFF;

struct WindowQuery {
    const char* className;  // nullptr: any class
    const std::string* title;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    auto& query = *reinterpret_cast<WindowQuery*>(parameter);
    if (query.processId != 0) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != query.processId)
            return TRUE;
    }
    if (query.className != nullptr && ClassName(window) != query.className)
        return TRUE;
    if (WindowText(window) != *query.title)
        return TRUE;
    query.found = window;
    return FALSE;
}

}  // namespace

Program::~Program()
{
    Kill();
}

bool Program::Start(const std::string& commandLine, const std::string& workingDirectory)
{
    Kill();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup, &process))
        return false;
    CloseHandle(process.hThread);
    process_ = process.hProcess;
    id_ = process.dwProcessId;
    return true;
}

bool Program::IsRunning() const
{
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Program::WaitForExit(DWORD& exitCode, DWORD timeoutMilliseconds)
{
    exitCode = STILL_ACTIVE;
    if (process_ == nullptr)
        return false;
    // Windows of this thread keep answering meanwhile: the program may
    // send them messages (a window it brings to the front).
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMilliseconds)
            return false;
        const DWORD woken =
            MsgWaitForMultipleObjects(1, &process_, FALSE, timeoutMilliseconds - waited, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0)
            break;
        if (woken != WAIT_OBJECT_0 + 1)
            return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    GetExitCodeProcess(process_, &exitCode);
    return true;
}

void Program::Kill()
{
    if (process_ == nullptr)
        return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
    id_ = 0;
}

void EndProcessesNamed(const std::string& fileName)
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, fileName.c_str()) != 0)
            continue;
        const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
        if (process == nullptr)
            continue;
        TerminateProcess(process, 99);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
    CloseHandle(snapshot);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMilliseconds)
            return false;
        Sleep(20);
    }
}

HWND FindTopWindow(const std::string& className, const std::string& title, DWORD processId)
{
    WindowQuery query = {className.empty() ? nullptr : className.c_str(), &title, processId, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND WaitForWindow(const std::string& title, DWORD processId, DWORD timeoutMilliseconds)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindTopWindow(std::string(), title, processId);
            return found != nullptr && IsWindowVisible(found);
        },
        timeoutMilliseconds);
    return found != nullptr && IsWindowVisible(found) ? found : nullptr;
}

namespace {

struct DialogQuery {
    DWORD processId;
    HWND besides;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter)
{
    auto& query = *reinterpret_cast<DialogQuery*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query.processId || window == query.besides || !IsWindowVisible(window) ||
        ClassName(window) != "#32770")
        return TRUE;
    query.found = window;
    return FALSE;
}

}  // namespace

HWND WaitForDialogOf(DWORD processId, HWND besides, DWORD timeoutMilliseconds)
{
    DialogQuery query = {processId, besides, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&query));
            return query.found != nullptr;
        },
        timeoutMilliseconds);
    return query.found;
}

bool WaitUntilGone(HWND window, DWORD timeoutMilliseconds)
{
    return WaitUntil([window] { return !IsWindow(window); }, timeoutMilliseconds);
}

std::string WindowText(HWND window)
{
    // WM_GETTEXT is carried between processes; GetWindowText of another
    // process's window would not ask it.
    char buffer[4096] = "";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                             5000, &length))
        return std::string();
    return std::string(buffer, length < sizeof buffer ? length : sizeof buffer - 1);
}

std::string ClassName(HWND window)
{
    char name[256] = "";
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string ControlText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

void SetControlText(HWND dialog, int id, const std::string& text)
{
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ClickButton(HWND dialog, int id)
{
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void PostCommand(HWND window, int id)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

bool IsControlEnabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

std::vector<ListLine> ListLines(HWND dialog, int id)
{
    const HWND list = GetDlgItem(dialog, id);
    std::vector<ListLine> lines;
    const auto count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        // Asked in UTF-16: Wine hands the ANSI request between processes a
        // UTF-16 text, twice as long as the buffer asked for.
        const auto length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::vector<wchar_t> text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        std::vector<char> ansi(text.size() * 2, '\0');
        WideCharToMultiByte(CP_ACP, 0, text.data(), -1, ansi.data(), static_cast<int>(ansi.size()), nullptr, nullptr);
        lines.push_back({ansi.data(), static_cast<unsigned long>(SendMessageW(list, LB_GETITEMDATA, i, 0))});
    }
    return lines;
}

HWND WaitForMessageBox(const std::string& caption, DWORD processId, DWORD timeoutMilliseconds)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindTopWindow("#32770", caption, processId);
            return found != nullptr && IsWindowVisible(found);
        },
        timeoutMilliseconds);
    return found;
}

std::string MessageBoxText(HWND box)
{
    return ControlText(box, kMessageBoxTextId);
}

void PressButton(HWND box, int id)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

std::string WindowsPathOfUnix(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

}  // namespace qzauto
