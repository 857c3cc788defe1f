#include "save/Reports.h"

#include "config/SaveSettings.h"
#include "win/WideNames.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<ReportObserver> reportObserver{nullptr};
thread_local bool reportingForTheRunThread = false;

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

void AppendRunLogLine(const std::string& text)
{
    std::string line = text;
    for (char& c : line) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    if (SaveRunLog().IsOpen()) {
        WriteLogLine(line);
        return;
    }
    RunLog log;
    if (log.Open(kRunLogPath))
        log.WriteLine(line);
}

void SendReportMessage(const std::string& text, bool failed)
{
    const HWND mainWindow = SaveSetting(&SaveSettingsRecord::MainWindow);
    if (mainWindow == nullptr)
        return;
    // The list shows a name as the system shows it. Sent, not posted: the
    // text lives only as long as this call.
    const std::string shown = win::ShownText(text);
    SendMessageA(mainWindow, kReportMessage, failed ? 1 : 0, reinterpret_cast<LPARAM>(shown.c_str()));
    if (!reportingForTheRunThread)
        ObserveReport();
}

void ReportForTheRunThread()
{
    reportingForTheRunThread = true;
}

void ObserveReport()
{
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
