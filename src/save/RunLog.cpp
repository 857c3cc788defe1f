#include "save/RunLog.h"

#include "save/RunLogFormat.h"
#include "win/Files.h"
#include "win/WideNames.h"

#include <ctime>

namespace {

std::mutex clockLock;
LogClock currentClock;

LogTime LocalClockTime()
{
    const std::time_t now = std::time(nullptr);
    // The runtime keeps the result of localtime per thread.
    const std::tm* local = std::localtime(&now);
    LogTime time;
    if (local == nullptr)
        return time;
    time.day = local->tm_mday;
    time.month = local->tm_mon + 1;
    time.year = local->tm_year + 1900;
    time.hour = local->tm_hour;
    time.minute = local->tm_min;
    time.second = local->tm_sec;
    return time;
}

}  // namespace

void SetLogClock(LogClock clock)
{
    std::lock_guard<std::mutex> guard(clockLock);
    currentClock = std::move(clock);
}

LogTime CurrentLogTime()
{
    LogClock clock;
    {
        std::lock_guard<std::mutex> guard(clockLock);
        clock = currentClock;
    }
    return clock ? clock() : LocalClockTime();
}

RunLog::~RunLog()
{
    Close();
}

bool RunLog::Open(const std::string& path)
{
    std::lock_guard<std::mutex> guard(lock_);
    if (file_ != nullptr)
        std::fclose(file_);
    file_ = win::OpenForAppend(path);
    return file_ != nullptr;
}

bool RunLog::IsOpen() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return file_ != nullptr;
}

void RunLog::Close()
{
    std::lock_guard<std::mutex> guard(lock_);
    if (file_ != nullptr)
        std::fclose(file_);
    file_ = nullptr;
}

void RunLog::WriteBanner()
{
    Write(RunLogBanner());
}

void RunLog::WriteLine(const std::string& text)
{
    const LogTime now = CurrentLogTime();
    // A name the ANSI code page cannot carry is logged as the system shows
    // it, never in the program's wrapped form.
    Write(FormatLogLine(now.day, now.month, now.year, now.hour, now.minute, now.second, win::ShownText(text)));
}

void RunLog::WriteEmptyLine()
{
    Write("\n");
}

void RunLog::Write(const std::string& text)
{
    std::lock_guard<std::mutex> guard(lock_);
    if (file_ == nullptr)
        return;
    std::fputs(text.c_str(), file_);
    // Each line reaches the file at once: the log is what is left to read
    // when a run is cut short, and "Show logfile" may copy it during a run.
    std::fflush(file_);
}
