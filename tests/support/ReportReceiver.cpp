#include "support/ReportReceiver.h"

#include "support/MessagePump.h"

namespace qztest {
namespace {

const char* const kClassName = "QzTestReportReceiver";

void RegisterReceiverClass(WNDPROC procedure)
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    registered = RegisterClassA(&windowClass) != 0;
}

}  // namespace

ReportReceiver::ReportReceiver()
{
    RegisterReceiverClass(&ReportReceiver::WindowProcedure);
    window_ = CreateWindowExA(0, kClassName, "Report receiver", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                              nullptr, GetModuleHandleA(nullptr), this);
    CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS, 0, 0, 380,
                    260, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(1004)), GetModuleHandleA(nullptr),
                    nullptr);
}

ReportReceiver::~ReportReceiver()
{
    if (window_ != nullptr)
        DestroyWindow(window_);
}

HWND ReportReceiver::List() const
{
    return GetDlgItem(window_, 1004);
}

bool ReportReceiver::WaitForEnd(DWORD timeoutMilliseconds)
{
    return WaitForEnds(1, timeoutMilliseconds);
}

bool ReportReceiver::WaitForEnds(int count, DWORD timeoutMilliseconds)
{
    return PumpUntil([this, count] { return endMessages_ >= count; }, timeoutMilliseconds);
}

std::vector<std::string> ReportReceiver::ListLines() const
{
    std::vector<std::string> lines;
    const int count = static_cast<int>(SendMessageA(List(), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const int length = static_cast<int>(SendMessageA(List(), LB_GETTEXTLEN, i, 0));
        std::string line(length + 1, '\0');
        SendMessageA(List(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(&line[0]));
        line.resize(length);
        lines.push_back(line);
    }
    return lines;
}

int ReportReceiver::SelectedLine() const
{
    return static_cast<int>(SendMessageA(List(), LB_GETCURSEL, 0, 0));
}

LRESULT CALLBACK ReportReceiver::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ReportReceiver*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_USER + 2) {
        const std::string text = reinterpret_cast<const char*>(lParam);
        self->reports_.push_back({wParam, text});
        self->sequence_.push_back("report");
        SendMessageA(GetDlgItem(window, 1004), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (self->onReport_)
            self->onReport_(self->reports_.back());
        return 1;
    }
    if (self != nullptr && message == WM_USER + 1) {
        ++self->endMessages_;
        self->sequence_.push_back("end");
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace qztest
