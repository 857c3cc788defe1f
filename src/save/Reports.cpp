#include "save/Reports.h"

#include "config/SaveSettings.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<ReportObserver> reportObserver{nullptr};

}  // namespace

RunLog& SaveRunLog()
{
    static RunLog log;
    return log;
}

void WriteLogLine(const std::string& text)
{
    SaveRunLog().WriteLine(text);
}

void SendReportMessage(const std::string& text, bool failed)
{
    const HWND mainWindow = SaveSetting(&SaveSettingsRecord::MainWindow);
    if (mainWindow == nullptr)
        return;
    // Sent, not posted: the text lives only as long as this call.
    SendMessageA(mainWindow, kReportMessage, failed ? 1 : 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (const ReportObserver observer = reportObserver.load())
        observer();
}

void ReportStep(const std::string& text, bool failed)
{
    WriteLogLine(text);
    SendReportMessage(text, failed);
}

void SetReportObserver(ReportObserver observer)
{
    reportObserver = observer;
}
