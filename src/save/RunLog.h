#pragma once
// The run log "log\qzkeepset.log": a text file that every save run and every
// restore run appends to, each through a RunLog of its own. Writes while the
// log is not open are dropped, so a run without a log goes on all the same.
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>

// The local time of day a log line is stamped with.
struct LogTime {
    int day = 1;
    int month = 1;
    int year = 1970;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Where log lines take their time from; the local clock unless a test sets
// another. An empty function brings the local clock back.
using LogClock = std::function<LogTime()>;
void SetLogClock(LogClock clock);
LogTime CurrentLogTime();

class RunLog {
public:
    RunLog() = default;
    ~RunLog();
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // Opens the file for appending in text mode ("a+"); false when it
    // cannot be opened. A log still open is closed first.
    bool Open(const std::string& path);
    bool IsOpen() const;
    void Close();

    void WriteBanner();
    // One line stamped with the local time of this moment.
    void WriteLine(const std::string& text);
    // A line break alone, as before the final text of a save run.
    void WriteEmptyLine();

private:
    void Write(const std::string& text);

    mutable std::mutex lock_;
    std::FILE* file_ = nullptr;
};
