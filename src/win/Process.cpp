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

bool RunProgramAndWait(const std::string& commandLine, int showMode, unsigned long& exitCode)
{
    exitCode = 0;
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
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    exitCode = code;
    return true;
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
