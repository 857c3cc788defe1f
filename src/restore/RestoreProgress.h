#pragma once
// What one restore run carries from item to item: its own handle to the run
// log and the two flags the summary is chosen by.
#include "save/RunLog.h"

#include <cstddef>
#include <string>

class RestoreProgress {
public:
    // Opens "log\qzkeepset.log" (relative to the working directory) for
    // appending and writes the run banner; without a log the run goes on.
    void OpenLog();
    void CloseLog();
    // One time-stamped line; dropped while the log is not open.
    void WriteRestoreLog(const std::string& text);

    // Something was put back: a file copied, a database loaded.
    void MarkRestored() { restored_ = true; }
    // A copy or a database command went wrong, or an item had no target.
    void MarkFailed() { failed_ = true; }
    bool Restored() const { return restored_; }
    bool Failed() const { return failed_; }

    // A file of the keepset that its manifest does not list: left in a
    // reused keepset directory by an earlier save. It is not restored, and
    // is no failure; the run names how many there were and the first.
    void LeaveOut(const std::string& source)
    {
        if (leftOut_++ == 0)
            firstLeftOut_ = source;
    }
    // The line about the files left out; nothing when there were none.
    void LogLeftOut();

private:
    std::size_t leftOut_ = 0;
    std::string firstLeftOut_;
    RunLog log_;
    bool restored_ = false;
    bool failed_ = false;
};
