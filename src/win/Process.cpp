#include "win/Process.h"

#include "win/InjectedFailure.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace win {

bool StartProgram(const std::string& commandLine, int showMode)
{
    if (InjectedFailure(Op::ProgramStart))
        return false;
    return WinExec(commandLine.c_str(), static_cast<UINT>(showMode)) > 31;
}

bool RunProgramAndWait(const std::string& commandLine, int showMode, unsigned long& exitCode, bool& started)
{
    exitCode = 0;
    started = false;
    if (InjectedFailure(Op::ProcessRun))
        return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showMode);
    PROCESS_INFORMATION process = {};
    // CreateProcessA may write into the command line: hand it a copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    started = true;
    CloseHandle(process.hThread);
    // The wait and the status read count as one call; a test's failure of it
    // comes after the real wait, so no program of a test outlives its check.
    DWORD code = 0;
    bool ended = WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 &&
                 GetExitCodeProcess(process.hProcess, &code) != 0;
    DWORD error = ended ? ERROR_SUCCESS : GetLastError();
    if (InjectedFailure(Op::ProcessWait)) {
        ended = false;
        error = GetLastError();
    }
    CloseHandle(process.hProcess);
    if (!ended) {
        SetLastError(error);
        return false;
    }
    exitCode = code;
    return true;
}

bool RunProgramAndWait(const std::string& commandLine, int showMode, unsigned long& exitCode)
{
    bool started = false;
    return RunProgramAndWait(commandLine, showMode, exitCode, started);
}

int RunCommandInterpreter(const std::string& command)
{
    if (InjectedFailure(Op::CommandInterpreter))
        return -1;
    return std::system(command.c_str());
}

NamedMutex::NamedMutex(const std::string& name)
{
    if (InjectedFailure(Op::MutexCreate))
        return;
    handle_ = CreateMutexA(nullptr, FALSE, name.c_str());
    takenBefore_ = handle_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

NamedMutex::~NamedMutex()
{
    if (handle_ != nullptr)
        CloseHandle(static_cast<HANDLE>(handle_));
}

void EndProcess(unsigned exitStatus)
{
    if (InjectedFailure(Op::ProcessEnd))
        return;
    std::fflush(nullptr);
    ExitProcess(exitStatus);
}

}  // namespace win
