#include "Automation.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <vector>

namespace qzauto {
namespace {

constexpr int kMessageBoxTextId = 0xFFFF;

DWORD ProcessOf(HWND window)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner;
}

bool IsShownWindowOf(HWND window, DWORD processId)
{
    return ProcessOf(window) == processId && IsWindowVisible(window);
}

struct WindowQuery {
    const char* className;  // nullptr: any class
    const std::string* title;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    auto& query = *reinterpret_cast<WindowQuery*>(parameter);
    if (query.processId != 0 && ProcessOf(window) != query.processId)
        return TRUE;
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
    if (!IsShownWindowOf(window, query.processId) || window == query.besides || ClassName(window) != "#32770")
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

void TypeText(HWND dialog, int id, const std::string& text)
{
    const HWND edit = GetDlgItem(dialog, id);
    for (unsigned char c : text)
        SendMessageA(edit, WM_CHAR, c, 1);
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

bool IsButtonChecked(HWND dialog, int id)
{
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

namespace {

// Memory in the process that owns a window, for the messages whose
// parameters point at structures the system does not carry across.
class RemoteMemory {
public:
    RemoteMemory(HWND window, std::size_t size) : size_(size)
    {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_ != nullptr)
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteMemory()
    {
        if (address_ != nullptr)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_ != nullptr)
            CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool Valid() const { return address_ != nullptr; }
    char* Address(std::size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
    LPARAM Parameter(std::size_t offset = 0) const { return reinterpret_cast<LPARAM>(Address(offset)); }
    bool Write(const void* data, std::size_t size, std::size_t offset = 0) const
    {
        return offset + size <= size_ && WriteProcessMemory(process_, Address(offset), data, size, nullptr);
    }
    bool Read(void* data, std::size_t size, std::size_t offset = 0) const
    {
        return offset + size <= size_ && ReadProcessMemory(process_, Address(offset), data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    std::size_t size_;
};

constexpr std::size_t kRemoteTextSize = 1024;

std::string ListViewText(HWND list, int row, int column)
{
    RemoteMemory memory(list, sizeof(LVITEMA) + kRemoteTextSize);
    if (!memory.Valid())
        return std::string();
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = memory.Address(sizeof item);
    item.cchTextMax = static_cast<int>(kRemoteTextSize);
    memory.Write(&item, sizeof item);
    const auto length = SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), memory.Parameter());
    std::vector<char> text(kRemoteTextSize, '\0');
    memory.Read(text.data(), text.size(), sizeof item);
    text.back() = '\0';
    return length > 0 ? std::string(text.data()) : std::string();
}

RECT ListViewRowRectangle(HWND list, int row, int part)
{
    RECT rectangle = {};
    RemoteMemory memory(list, sizeof rectangle);
    rectangle.left = part;
    if (!memory.Valid() || !memory.Write(&rectangle, sizeof rectangle))
        return RECT{};
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), memory.Parameter());
    memory.Read(&rectangle, sizeof rectangle);
    return rectangle;
}

void ClickAt(HWND window, int x, int y)
{
    const LPARAM point = MAKELPARAM(x, y);
    SendMessageA(window, WM_MOUSEMOVE, 0, point);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(window, WM_LBUTTONUP, 0, point);
}

}  // namespace

int ListViewRowCount(HWND dialog, int id)
{
    return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), LVM_GETITEMCOUNT, 0, 0));
}

std::vector<std::vector<std::string>> ListViewRows(HWND dialog, int id, int columns)
{
    const HWND list = GetDlgItem(dialog, id);
    std::vector<std::vector<std::string>> rows;
    const int count = ListViewRowCount(dialog, id);
    for (int row = 0; row < count; ++row) {
        std::vector<std::string> texts;
        for (int column = 0; column < columns; ++column)
            texts.push_back(ListViewText(list, row, column));
        rows.push_back(texts);
    }
    return rows;
}

LPARAM ListViewRowData(HWND dialog, int id, int row)
{
    const HWND list = GetDlgItem(dialog, id);
    RemoteMemory memory(list, sizeof(LVITEMA));
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!memory.Valid() || !memory.Write(&item, sizeof item))
        return -1;
    if (!SendMessageA(list, LVM_GETITEMA, 0, memory.Parameter()))
        return -1;
    memory.Read(&item, sizeof item);
    return item.lParam;
}

int ListViewColumnWidth(HWND dialog, int id, int column)
{
    return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

bool IsListViewRowChecked(HWND dialog, int id, int row)
{
    const auto state =
        SendMessageA(GetDlgItem(dialog, id), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

int ListViewSelectedRow(HWND dialog, int id)
{
    return static_cast<int>(
        SendMessageA(GetDlgItem(dialog, id), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ClickListViewRow(HWND dialog, int id, int row)
{
    const HWND list = GetDlgItem(dialog, id);
    const RECT label = ListViewRowRectangle(list, row, LVIR_LABEL);
    ClickAt(list, label.left + 4, (label.top + label.bottom) / 2);
}

void ClickListViewCheckBox(HWND dialog, int id, int row)
{
    // The state image (the check box) sits left of the row's icon.
    const HWND list = GetDlgItem(dialog, id);
    const RECT icon = ListViewRowRectangle(list, row, LVIR_ICON);
    const RECT bounds = ListViewRowRectangle(list, row, LVIR_BOUNDS);
    const int checkBoxRight = icon.left > bounds.left ? icon.left : bounds.left + 16;
    ClickAt(list, (bounds.left + checkBoxRight) / 2, (bounds.top + bounds.bottom) / 2);
}

void ClickListViewBelowRows(HWND dialog, int id)
{
    const HWND list = GetDlgItem(dialog, id);
    RECT client = {};
    GetClientRect(list, &client);
    ClickAt(list, 10, client.bottom - 4);
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

std::vector<ChildProcess> ChildProcesses(DWORD parentId)
{
    std::vector<ChildProcess> children;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return children;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parentId && entry.th32ProcessID != parentId)
            children.push_back({entry.th32ProcessID, entry.szExeFile});
    }
    CloseHandle(snapshot);
    return children;
}

namespace {

struct SettleQuery {
    DWORD processId;
    DWORD timeoutMilliseconds;
    bool settled;
};

BOOL CALLBACK FindUnpainted(HWND window, LPARAM parameter)
{
    if (!GetUpdateRect(window, nullptr, FALSE))
        return TRUE;
    *reinterpret_cast<bool*>(parameter) = false;
    return FALSE;
}

BOOL CALLBACK SettleWindow(HWND window, LPARAM parameter)
{
    auto& query = *reinterpret_cast<SettleQuery*>(parameter);
    if (!IsShownWindowOf(window, query.processId))
        return TRUE;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, query.timeoutMilliseconds, &result) ||
        GetUpdateRect(window, nullptr, FALSE)) {
        query.settled = false;
        return FALSE;
    }
    EnumChildWindows(window, FindUnpainted, reinterpret_cast<LPARAM>(&query.settled));
    return query.settled ? TRUE : FALSE;
}

}  // namespace

bool WaitUntilSettled(DWORD processId, DWORD timeoutMilliseconds)
{
    return WaitUntil(
        [&] {
            SettleQuery query = {processId, timeoutMilliseconds, true};
            EnumWindows(SettleWindow, reinterpret_cast<LPARAM>(&query));
            return query.settled;
        },
        timeoutMilliseconds);
}

}  // namespace qzauto
