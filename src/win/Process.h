#pragma once
// Starting other programs.
#include <string>

namespace win {

constexpr int kShowHidden = 0;   // SW_HIDE
constexpr int kShowNormal = 5;   // SW_SHOW

// WinExec: true when the start result is greater than 31. Not waited for.
bool StartProgram(const std::string& commandLine, int showMode);

// Starts the command line as a process (CreateProcessA, no command
// interpreter), waits until it ends and gives its exit status. False when it
// could not be started, and also when waiting for its end or reading its
// exit status failed: a program whose outcome is unknown has not succeeded.
// started tells the two apart (a program that started may have done its
// work, or part of it).
bool RunProgramAndWait(const std::string& commandLine, int showMode, unsigned long& exitCode, bool& started);
bool RunProgramAndWait(const std::string& commandLine, int showMode, unsigned long& exitCode);

// RunProgramAndWait with the program's standard handles given: input (a
// file opened for reading; empty: the NUL device) as its standard input,
// and output, a file made here for the purpose (CREATE_NEW: a name already
// taken fails the call; empty: the NUL device), as both its standard output
// and its standard error. The program inherits these handles and no other
// (PROC_THREAD_ATTRIBUTE_HANDLE_LIST). A file that cannot be opened or made
// is a program that did not start.
bool RunProgramWithFiles(const std::string& commandLine, const std::string& input, const std::string& output,
                         int showMode, unsigned long& exitCode, bool& started);

// False only when the system says no process of that id runs (it cannot
// be opened as an unknown id, or it has ended); a process it will not let
// this one look at counts as running. Counted as a ProcessWait.
bool ProcessIsRunning(unsigned long processId);

// This process's id.
unsigned long CurrentProcessId();

// Runs a command through the command interpreter (system()) and waits;
// returns what system() returns.
int RunCommandInterpreter(const std::string& command);

// A named mutex (CreateMutexA), held open as long as the object lives: the
// name stays taken while this process runs.
class NamedMutex {
public:
    explicit NamedMutex(const std::string& name);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // Another holder had the name before (ERROR_ALREADY_EXISTS). False also
    // when the mutex could not be made at all.
    bool TakenBefore() const { return takenBefore_; }

private:
    void* handle_ = nullptr;
    bool takenBefore_ = false;
};

// Ends this process at once with the exit status, after writing out what
// the C streams still hold (the run log). Other threads end with it;
// nothing of the program is torn down first. Returns only when a test made
// the call fail.
void EndProcess(unsigned exitStatus);

}  // namespace win
