#include "win/Process.h"

#include "win/InjectedFailure.h"
#include "win/WideNames.h"

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

namespace {

// The standard handles a program is given, each inheritable; closed here.
class StandardFiles {
public:
    ~StandardFiles()
    {
        for (HANDLE handle : {input_, output_})
            if (handle != INVALID_HANDLE_VALUE)
                CloseHandle(handle);
    }

    bool Open(const std::string& input, const std::string& output)
    {
        SECURITY_ATTRIBUTES inherited = {};
        inherited.nLength = sizeof inherited;
        inherited.bInheritHandle = TRUE;
        std::wstring wideInput = L"NUL";
        std::wstring wideOutput = L"NUL";
        if ((!input.empty() && !ToWidePath(input, wideInput)) || (!output.empty() && !ToWidePath(output, wideOutput)))
            return false;
        input_ = CreateFileW(wideInput.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherited, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (input_ == INVALID_HANDLE_VALUE)
            return false;
        // A name already taken is never written into: it may be another's.
        output_ = CreateFileW(wideOutput.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                              output.empty() ? OPEN_EXISTING : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        return output_ != INVALID_HANDLE_VALUE;
    }

    HANDLE Input() const { return input_; }
    HANDLE Output() const { return output_; }

private:
    HANDLE input_ = INVALID_HANDLE_VALUE;
    HANDLE output_ = INVALID_HANDLE_VALUE;
};

// Starts the command line (with only the given standard files inherited,
// when there are any), waits and reads the exit status.
bool StartAndWait(const std::string& commandLine, int showMode, const StandardFiles* files,
                  unsigned long& exitCode, bool& started)
{
    STARTUPINFOEXA startup = {};
    startup.StartupInfo.cb = sizeof startup.StartupInfo;
    startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
    startup.StartupInfo.wShowWindow = static_cast<WORD>(showMode);
    DWORD flags = 0;
    std::vector<char> attributeList;
    HANDLE inherited[2] = {};
    if (files != nullptr) {
        startup.StartupInfo.cb = sizeof startup;
        startup.StartupInfo.dwFlags |= STARTF_USESTDHANDLES;
        startup.StartupInfo.hStdInput = files->Input();
        startup.StartupInfo.hStdOutput = files->Output();
        startup.StartupInfo.hStdError = files->Output();
        inherited[0] = files->Input();
        inherited[1] = files->Output();
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        attributeList.assign(size, 0);
        startup.lpAttributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeList.data());
        if (!InitializeProcThreadAttributeList(startup.lpAttributeList, 1, 0, &size))
            return false;
        const bool listed = UpdateProcThreadAttribute(startup.lpAttributeList, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                                      inherited, sizeof inherited, nullptr, nullptr) != 0;
        if (!listed) {
            DeleteProcThreadAttributeList(startup.lpAttributeList);
            return false;
        }
        flags = EXTENDED_STARTUPINFO_PRESENT;
    }
    PROCESS_INFORMATION process = {};
    // CreateProcessA may write into the command line: hand it a copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    const bool created = CreateProcessA(nullptr, line.data(), nullptr, nullptr, files != nullptr, flags, nullptr,
                                        nullptr, &startup.StartupInfo, &process) != 0;
    const DWORD startError = GetLastError();
    if (files != nullptr)
        DeleteProcThreadAttributeList(startup.lpAttributeList);
    if (!created) {
        SetLastError(startError);
        return false;
    }
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

}  // namespace

bool RunProgramAndWait(const std::string& commandLine, int showMode, unsigned long& exitCode, bool& started)
{
    exitCode = 0;
    started = false;
    if (InjectedFailure(Op::ProcessRun))
        return false;
    return StartAndWait(commandLine, showMode, nullptr, exitCode, started);
}

bool RunProgramWithFiles(const std::string& commandLine, const std::string& input, const std::string& output,
                         int showMode, unsigned long& exitCode, bool& started)
{
    exitCode = 0;
    started = false;
    if (InjectedFailure(Op::ProcessRun))
        return false;
    StandardFiles files;
    if (!files.Open(input, output))
        return false;
    return StartAndWait(commandLine, showMode, &files, exitCode, started);
}

bool RunProgramAndWait(const std::string& commandLine, int showMode, unsigned long& exitCode)
{
    bool started = false;
    return RunProgramAndWait(commandLine, showMode, exitCode, started);
}

bool ProcessIsRunning(unsigned long processId)
{
    if (InjectedFailure(Op::ProcessWait))
        return true;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr)
        return GetLastError() != ERROR_INVALID_PARAMETER;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

unsigned long CurrentProcessId()
{
    return GetCurrentProcessId();
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
