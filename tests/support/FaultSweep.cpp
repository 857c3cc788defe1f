#include "support/FaultSweep.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>

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
    case win::Op::EventReport: return "EventReport";
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
        unsigned long last = 0;
        for (unsigned long i = 0; i < maxPerOp; ++i) {
            const unsigned long n = 1 + i * (count - 1) / (maxPerOp - 1);
            if (n != last)
                points.emplace_back(op, n);
            last = n;
        }
    }
    return points;
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
