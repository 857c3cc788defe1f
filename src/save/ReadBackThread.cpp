#include "save/ReadBackThread.h"

#include "keepset/ManifestFormat.h"
#include "save/Reports.h"
#include "win/FileHash.h"
#include "win/WideNames.h"

#include <system_error>

namespace {

// Holds a slim lock for a scope.
class ExclusiveLock {
public:
    explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(&lock_); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    SRWLOCK& lock_;
};

}  // namespace

void ReadBackNow(ReadBack& readBack, const std::string& keepsetDirectory)
{
    readBack.read =
        readBack.copied && (readBack.hashed || win::FileSha256(readBack.file, readBack.sha256, readBack.size));
    readBack.relative = KeepsetRelativePath(keepsetDirectory, readBack.file);
    if (!readBack.read || readBack.relative.empty()) {
        // Not below the keepset: nothing to list, the read-back decides.
        readBack.kept = readBack.read;
        return;
    }
    // The manifest holds its paths in UTF-8, so that a name in any script
    // reads the same to the checksum tools.
    readBack.manifestPath = win::ToUtf8(readBack.relative);
    readBack.kept = !readBack.manifestPath.empty();
}

ReadBackThread::Shared::~Shared()
{
    if (owner != nullptr)
        CloseHandle(owner);
    if (finished != nullptr)
        CloseHandle(finished);
}

ReadBackThread::ReadBackThread(const std::string& keepsetDirectory) : shared_(std::make_shared<Shared>())
{
    shared_->directory = keepsetDirectory;
    HANDLE owner = nullptr;
    shared_->finished = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (shared_->finished == nullptr ||
        !DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &owner, SYNCHRONIZE, FALSE,
                         0))
        return;  // no thread: Start does the work itself
    shared_->owner = owner;
    try {
        thread_ = std::thread(Run, shared_);
    } catch (const std::system_error&) {
        // Start does the work itself.
    }
}

ReadBackThread::~ReadBackThread()
{
    if (!thread_.joinable())
        return;
    {
        ExclusiveLock guard(shared_->lock);
        shared_->ending = true;
    }
    WakeConditionVariable(&shared_->handedOver);
    thread_.join();
}

void ReadBackThread::Start(const std::shared_ptr<ReadBack>& readBack)
{
    if (!Running()) {
        ReadBackNow(*readBack, shared_->directory);
        if (readBack->report)
            readBack->report(*readBack);
        readBack->done = true;
        return;
    }
    bool wake = false;
    {
        ExclusiveLock guard(shared_->lock);
        shared_->waiting.push_back(readBack);
        wake = shared_->waiting.size() >= kWakeAfter;
    }
    // The reading thread is woken for a few files at a time, or when
    // somebody waits: each wake-up costs it a turn of the processor.
    if (wake)
        WakeConditionVariable(&shared_->handedOver);
}

bool ReadBackThread::Done(const ReadBack& readBack) const
{
    ExclusiveLock guard(shared_->lock);
    return readBack.done;
}

void ReadBackThread::Wait(const ReadBack& readBack) const
{
    for (;;) {
        {
            ExclusiveLock guard(shared_->lock);
            if (readBack.done)
                return;
            shared_->awaited = true;
        }
        WakeConditionVariable(&shared_->handedOver);
        const DWORD woken = MsgWaitForMultipleObjects(1, &shared_->finished, FALSE, INFINITE, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0 + 1) {
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        } else if (woken == WAIT_FAILED) {
            Sleep(1);
        }
    }
}

void ReadBackThread::Run(std::shared_ptr<Shared> shared)
{
    ReportForTheRunThread();
    AcquireSRWLockExclusive(&shared->lock);
    for (;;) {
        while (!shared->ending && shared->waiting.empty())
            SleepConditionVariableSRW(&shared->handedOver, &shared->lock, INFINITE, 0);
        if (shared->waiting.empty())
            break;  // ending, and nothing left to read
        const std::shared_ptr<ReadBack> readBack = shared->waiting.front();
        shared->waiting.pop_front();
        ReleaseSRWLockExclusive(&shared->lock);
        // A run cut short reports nothing more.
        if (WaitForSingleObject(shared->owner, 0) == WAIT_OBJECT_0)
            return;
        // Only this thread touches the record until it is marked done.
        ReadBackNow(*readBack, shared->directory);
        if (readBack->report)
            readBack->report(*readBack);
        AcquireSRWLockExclusive(&shared->lock);
        readBack->done = true;
        if (shared->awaited) {
            shared->awaited = false;
            SetEvent(shared->finished);
        }
    }
    ReleaseSRWLockExclusive(&shared->lock);
}
