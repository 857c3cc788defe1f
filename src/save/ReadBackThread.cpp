#include "save/ReadBackThread.h"

#include "win/FileHash.h"

#include <system_error>

void ReadBackNow(ReadBack& readBack)
{
    readBack.read = win::FileSha256(readBack.file, readBack.sha256, readBack.size);
}

ReadBackThread::ReadBackThread() : shared_(std::make_shared<Shared>())
{
    try {
        thread_ = std::thread(Run, shared_);
    } catch (const std::system_error&) {
        // No thread: Start reads each file back itself.
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

std::shared_ptr<ReadBack> ReadBackThread::Start(const std::string& file)
{
    auto readBack = std::make_shared<ReadBack>();
    readBack->file = file;
    if (!thread_.joinable()) {
        ReadBackNow(*readBack);
        readBack->done = true;
        return readBack;
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
    return readBack;
}

bool ReadBackThread::Done(const ReadBack& readBack) const
{
    std::lock_guard<std::mutex> guard(shared_->lock);
    return readBack.done;
}

void ReadBackThread::Wait(const ReadBack& readBack) const
{
    std::unique_lock<std::mutex> guard(shared_->lock);
    if (readBack.done)
        return;
    shared_->handedOver.notify_one();
    shared_->finished.wait(guard, [&readBack] { return readBack.done; });
}

void ReadBackThread::Run(std::shared_ptr<Shared> shared)
{
    std::unique_lock<std::mutex> guard(shared->lock);
    for (;;) {
        shared->handedOver.wait(guard, [&shared] { return shared->ending || !shared->waiting.empty(); });
        if (shared->waiting.empty())
            return;  // ending, and nothing left to read
        const std::shared_ptr<ReadBack> readBack = shared->waiting.front();
        shared->waiting.pop_front();
        guard.unlock();
        // Only this thread touches the record until it is marked done.
        ReadBackNow(*readBack);
        guard.lock();
        readBack->done = true;
        shared->finished.notify_all();
    }
}
