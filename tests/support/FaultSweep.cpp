#include "support/FaultSweep.h"

#include "win/SharedMutex.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <thread>

namespace qztest {

const std::vector<win::Op>& SweptOps()
{
    using win::Op;
    static const std::vector<Op> ops = {
        Op::FindFirst,     Op::FindNext,      Op::FileCopy,     Op::DirectoryCreate, Op::FileDelete,
        Op::GetAttributes, Op::SetAttributes, Op::Access,       Op::OpenFile,        Op::WindowsDirectory,
        Op::CurrentDirectory, Op::ChangeDirectory, Op::FileMove, Op::FileRead,       Op::FileWrite,
        Op::FileHash,      Op::ProfileRead,   Op::ProfileWrite, Op::RegistryOpen,    Op::RegistryQuery,
        Op::ProgramStart,  Op::ProcessRun,    Op::ProcessWait,  Op::CommandInterpreter,
        Op::MutexCreate,   Op::MutexWait,     Op::FileCopyChunk,
    };
    return ops;
}

const char* OpName(win::Op op)
{
    switch (op) {
    case win::Op::FindFirst: return "FindFirst";
    case win::Op::FindNext: return "FindNext";
    case win::Op::FileCopy: return "FileCopy";
    case win::Op::DirectoryCreate: return "DirectoryCreate";
    case win::Op::FileDelete: return "FileDelete";
    case win::Op::GetAttributes: return "GetAttributes";
    case win::Op::SetAttributes: return "SetAttributes";
    case win::Op::Access: return "Access";
    case win::Op::OpenFile: return "OpenFile";
    case win::Op::WindowsDirectory: return "WindowsDirectory";
    case win::Op::CurrentDirectory: return "CurrentDirectory";
    case win::Op::ChangeDirectory: return "ChangeDirectory";
    case win::Op::FileMove: return "FileMove";
    case win::Op::FileRead: return "FileRead";
    case win::Op::FileWrite: return "FileWrite";
    case win::Op::FileHash: return "FileHash";
    case win::Op::ProfileRead: return "ProfileRead";
    case win::Op::ProfileWrite: return "ProfileWrite";
    case win::Op::RegistryOpen: return "RegistryOpen";
    case win::Op::RegistryQuery: return "RegistryQuery";
    case win::Op::ProgramStart: return "ProgramStart";
    case win::Op::ProcessRun: return "ProcessRun";
    case win::Op::ProcessWait: return "ProcessWait";
    case win::Op::CommandInterpreter: return "CommandInterpreter";
    case win::Op::MutexCreate: return "MutexCreate";
    case win::Op::MutexWait: return "MutexWait";
    case win::Op::EventReport: return "EventReport";
    case win::Op::FileCopyChunk: return "FileCopyChunk";
    default: return "another kind";
    }
}

std::vector<std::pair<win::Op, unsigned long>> FailurePoints(unsigned long maxPerOp)
{
    return FailurePoints(maxPerOp, SweptOps());
}

std::vector<std::pair<win::Op, unsigned long>> FailurePoints(unsigned long maxPerOp, const std::vector<win::Op>& ops)
{
    const char* samples = std::getenv("QZ_SWEEP_SAMPLES");
    if (samples != nullptr && std::string(samples) == "all")
        maxPerOp = 0;
    else if (samples != nullptr && std::atol(samples) > 0)
        maxPerOp = static_cast<unsigned long>(std::atol(samples));
    std::vector<std::pair<win::Op, unsigned long>> points;
    for (win::Op op : ops) {
        const unsigned long count = win::CallCount(op);
        if (count == 0)
            continue;
        if (maxPerOp == 0 || count <= maxPerOp) {
            for (unsigned long n = 1; n <= count; ++n)
                points.emplace_back(op, n);
            continue;
        }
        // The first and the last, and a fresh draw of the others each run.
        std::mt19937 draw(SweepSeed() + static_cast<unsigned long>(op));
        std::set<unsigned long> chosen = {1, count};
        std::uniform_int_distribution<unsigned long> any(2, count > 2 ? count - 1 : count);
        while (chosen.size() < std::min<unsigned long>(maxPerOp, count))
            chosen.insert(any(draw));
        for (unsigned long n : chosen)
            points.emplace_back(op, n);
    }
    return points;
}

unsigned long SweepSeed()
{
    static const unsigned long seed = [] {
        const char* given = std::getenv("QZ_SWEEP_SEED");
        const unsigned long chosen =
            given != nullptr ? std::strtoul(given, nullptr, 10)
                             : static_cast<unsigned long>(
                                   std::chrono::system_clock::now().time_since_epoch().count() % 1000000007);
        std::printf("fault sweep: QZ_SWEEP_SEED=%lu\n", chosen);
        return chosen;
    }();
    return seed;
}

std::string SweepSeedText()
{
    return "QZ_SWEEP_SEED=" + std::to_string(SweepSeed());
}

const std::vector<win::Op>& TornOps()
{
    static const std::vector<win::Op> ops = {win::Op::FileWrite, win::Op::FileCopy};
    return ops;
}

void ArmFailure(win::Op op, unsigned long nth, bool torn)
{
    if (torn)
        win::FailCallTorn(op, nth, SweepErrorCode(op));
    else
        win::FailCall(op, nth, SweepErrorCode(op));
}

std::vector<std::string> TemporaryFilesIn(const std::string& directory, bool recursive)
{
    std::vector<std::string> found;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return found;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (recursive) {
                for (const std::string& below : TemporaryFilesIn(directory + "\\" + name, true))
                    found.push_back(below);
            }
        } else if (name.size() > 14 && name.compare(0, 10, "qzkeepset.") == 0 &&
                   name.compare(name.size() - 4, 4, ".tmp") == 0) {
            found.push_back(directory + "\\" + name);
        }
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return found;
}

struct MutexHeldElsewhere::Holder {
    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread thread;
};

MutexHeldElsewhere::MutexHeldElsewhere(const char* name) : holder_(new Holder)
{
    Holder* holder = holder_.get();
    const std::string mutexName = name;
    holder->thread = std::thread([holder, mutexName] {
        win::SharedMutex mutex(mutexName);
        const bool locked = mutex.Lock(INFINITE);
        SetEvent(holder->taken);
        WaitForSingleObject(holder->release, INFINITE);
        if (locked)
            mutex.Unlock();
    });
    WaitForSingleObject(holder->taken, INFINITE);
}

MutexHeldElsewhere::~MutexHeldElsewhere()
{
    SetEvent(holder_->release);
    holder_->thread.join();
    CloseHandle(holder_->taken);
    CloseHandle(holder_->release);
}

unsigned long SweepErrorCode(win::Op op)
{
    switch (op) {
    case win::Op::FileCopy:
    case win::Op::FileWrite:
    case win::Op::FileMove:
    case win::Op::ProfileWrite:
    case win::Op::DirectoryCreate:
        return ERROR_DISK_FULL;
    case win::Op::MutexWait:
        return ERROR_TIMEOUT;
    default:
        return ERROR_ACCESS_DENIED;
    }
}

bool FailureIsObservable(win::Op op)
{
    switch (op) {
    case win::Op::ProfileRead:
    case win::Op::RegistryOpen:
    case win::Op::RegistryQuery:
    case win::Op::OpenFile:  // the run log
        return false;
    default:
        return true;
    }
}

}  // namespace qztest
