#include "CopyTestHost.h"

#include "config/SaveSettings.h"
#include "save/Reports.h"
#include "win/CallCounter.h"
#include "win/MessageBoxes.h"

#include <algorithm>

namespace {

const char* const kWindowClass = "QzCopyTestReports";

}  // namespace

ReportWindow::ReportWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    window_ = CreateWindowExA(0, kWindowClass, "reports", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), this);
    const HWND window = window_;
    UpdateSaveSettings([window](SaveSettingsRecord& record) { record.MainWindow = window; });
}

ReportWindow::~ReportWindow()
{
    UpdateSaveSettings([](SaveSettingsRecord& record) { record.MainWindow = nullptr; });
    if (window_ != nullptr)
        DestroyWindow(window_);
}

std::vector<std::string> ReportWindow::Texts(WPARAM wParam) const
{
    std::vector<std::string> texts;
    for (const auto& report : reports_) {
        if (report.wParam == wParam)
            texts.push_back(report.text);
    }
    return Sorted(texts);
}

LRESULT CALLBACK ReportWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ReportWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == kReportMessage && self != nullptr) {
        self->reports_.push_back({wParam, reinterpret_cast<const char*>(lParam)});
        self->threads_.push_back(GetCurrentThreadId());
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

CopyTest::CopyTest(const std::string& folderName) : folder_(folderName)
{
}

void CopyTest::SetUp()
{
    ASSERT_NE(window_.Handle(), nullptr) << "no window: is there an X display?";
    win::ResetCalls();
    SetLogClock([] {
        LogTime time;
        time.day = 7;
        time.month = 12;
        time.year = 2026;
        time.hour = 10;
        time.minute = 18;
        time.second = 31;
        return time;
    });
    win::SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned style) {
        boxes_.push_back({text, caption, style});
        return win::kAnswerOk;
    });
    ASSERT_TRUE(SaveRunLog().Open(LogPath()));
    SaveRunLog().WriteBanner();
}

void CopyTest::TearDown()
{
    SaveRunLog().Close();
    SetLogClock(LogClock());
    win::SetMessageBoxHandler(win::MessageBoxHandler());
    win::ResetCalls();
}

std::vector<std::string> CopyTest::LogTexts() const
{
    std::vector<std::string> lines = qztest::ReadLines(LogPath());
    // The banner: two empty lines, the asterisks, one empty line.
    const std::size_t bannerLines = 4;
    std::vector<std::string> texts;
    const std::string stamp = kFixedStamp;
    for (std::size_t i = std::min(bannerLines, lines.size()); i < lines.size(); ++i) {
        const std::string& line = lines[i];
        texts.push_back(line.compare(0, stamp.size(), stamp) == 0 ? line.substr(stamp.size()) : line);
    }
    return texts;
}

std::vector<std::string> Sorted(std::vector<std::string> texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}
