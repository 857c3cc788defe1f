#pragma once
// Every call the thin layer makes into the system is counted here by kind,
// and a test can make the Nth call of a kind fail with an error code of its
// choice (disk full, sharing violation, access denied, ...).

namespace win {

enum class Op {
    FindFirst,
    FindNext,
    FileCopy,
    DirectoryCreate,
    FileDelete,
    GetAttributes,
    SetAttributes,
    Access,
    OpenFile,
    WindowsDirectory,
    CurrentDirectory,
    ChangeDirectory,
    ProfileRead,
    ProfileWrite,
    RegistryOpen,
    RegistryQuery,
    ProgramStart,
    ProcessRun,
    CommandInterpreter,
    ProcessEnd,
    LibraryLoad,
    MessageBoxShow,
    LogicalDrives,
    ShellFileInfo,
    FileMove,
    FileRead,
    FileWrite,
    FileHash,
    ProcessWait,
    MutexCreate,
    DirectoryRemove,
    MutexWait,
    TemporaryPath,
    // One chunk read and written by a copy loop of the layer (CopyFileHashing),
    // so that a test can cut a large copy in the middle.
    FileCopyChunk,
    EventReport,
    Count
};

// Calls of this kind made since the last ResetCalls.
unsigned long CallCount(Op op);

// The nth call of this kind from now on (1 = the next one) fails with
// errorCode. Several failures may be armed at once.
void FailCall(Op op, unsigned long nth, unsigned long errorCode);

// The same, but a call that writes data (a file write or copy) first writes
// part of it and then fails, as a write cut short by a full disk or a lost
// connection leaves a file. Kinds that write no data fail whole.
void FailCallTorn(Op op, unsigned long nth, unsigned long errorCode);

// Zeroes every count and disarms every failure.
void ResetCalls();

// For the layer itself: counts one call; true when it is to fail, with the
// error code to report.
bool InterceptCall(Op op, unsigned long& errorCode);
// The same for a call that can fail part-way: torn tells whether part of
// the data is to be written before the failure.
bool InterceptCall(Op op, unsigned long& errorCode, bool& torn);

}  // namespace win
