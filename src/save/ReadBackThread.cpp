#include "save/ReadBackThread.h"

#include "save/ManifestFormat.h"
#include "save/Reports.h"
#include "win/FileHash.h"
#include "win/WideNames.h"

#include <windows.h>

#include <system_error>

void ReadBackNow(ReadBack& readBack, const std::string& keepsetDirectory)
{
    readBack.read = readBack.copied && win::FileSha256(readBack.file, readBack.sha256, readBack.size);
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
        std::lock_guard<std::mutex> guard(shared_->lock);
        shared_->ending = true;
    }
    shared_->handedOver.notify_one();
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
        std::lock_guard<std::mutex> guard(shared_->lock);
        shared_->waiting.push_back(readBack);
        wake = shared_->waiting.size() >= kWakeAfter;
    }
    // Waking the reading thread costs a round trip through the system, so
    // it is woken for a few files at a time, or when somebody waits.
    if (wake)
        shared_->handedOver.notify_one();
}

bool ReadBackThread::Done(const ReadBack& readBack) const
{
    std::lock_guard<std::mutex> guard(shared_->lock);
    return readBack.done;
}

void ReadBackThread::Wait(const ReadBack& readBack) const
{
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(shared_->lock);
            if (readBack.done)
                return;
            shared_->awaited = true;
        }
        shared_->handedOver.notify_one();
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
    std::unique_lock<std::mutex> guard(shared->lock);
    for (;;) {
        shared->handedOver.wait(guard, [&shared] { return shared->ending || !shared->waiting.empty(); });
        if (shared->waiting.empty())
            return;  // ending, and nothing left to read
        const std::shared_ptr<ReadBack> readBack = shared->waiting.front();
        shared->waiting.pop_front();
        guard.unlock();
        // A run cut short reports nothing more.
        if (WaitForSingleObject(shared->owner, 0) == WAIT_OBJECT_0)
            return;
        // Only this thread touches the record until it is marked done.
        ReadBackNow(*readBack, shared->directory);
        if (readBack->report)
            readBack->report(*readBack);
        guard.lock();
        readBack->done = true;
        if (shared->awaited) {
            shared->awaited = false;
            SetEvent(shared->finished);
        }
    }
}
