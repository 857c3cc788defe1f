#include "keepset/HashesInOrder.h"

#include "win/FileHash.h"
#include "win/Files.h"

#include <algorithm>
#include <system_error>
#include <thread>

namespace {

// Results held back behind a large file still being hashed: the caller
// waits rather than keep more.
constexpr std::size_t kMostPending = 256;

}  // namespace

FileHashResult HashFile(const std::string& path)
{
    FileHashResult result;
    result.hashed = win::FileSha256(path, result.sha256, result.size);
    if (!result.hashed)
        result.notFound = win::LastErrorIsNotFound();
    return result;
}

HashesInOrder::HashesInOrder()
    : threads_(std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), 4))
{
}

HashesInOrder::~HashesInOrder()
{
    Finish();
}

void HashesInOrder::Add(const std::string& path, bool large, Conclude conclude)
{
    Pending pending;
    pending.conclude = std::move(conclude);
    if (large && threads_ > 1) {
        while (aheadInFlight_ >= threads_)
            ConcludeFront();
        try {
            pending.ahead = std::async(std::launch::async, HashFile, path);
            ++aheadInFlight_;
        } catch (const std::system_error&) {
            // No thread to be had: hashed here.
        }
    }
    if (!pending.ahead.valid())
        pending.result = HashFile(path);
    pending_.push_back(std::move(pending));
    while (!pending_.empty() &&
           (!pending_.front().ahead.valid() || pending_.size() > kMostPending ||
            pending_.front().ahead.wait_for(std::chrono::seconds(0)) == std::future_status::ready))
        ConcludeFront();
}

void HashesInOrder::Finish()
{
    while (!pending_.empty())
        ConcludeFront();
}

void HashesInOrder::ConcludeFront()
{
    Pending front = std::move(pending_.front());
    pending_.pop_front();
    if (front.ahead.valid()) {
        front.result = front.ahead.get();
        --aheadInFlight_;
    }
    front.conclude(front.result);
}
