#include "save/Reports.h"

#include "config/SaveSettings.h"

#include <windows.h>

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
    // Sent, not posted: the text lives only as long as this call.
    SendMessageA(mainWindow, kReportMessage, failed ? 1 : 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ReportStep(const std::string& text, bool failed)
{
    WriteLogLine(text);
    SendReportMessage(text, failed);
}
