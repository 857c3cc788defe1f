#pragma once
// Reads copied files back and hashes them on a thread of its own, in the
// order they were handed over, so that a copy loop need not wait for one
// file's read-back before it copies the next. Opening a file that was just
// written costs about as much as copying a small one; done beside the
// copies, it no longer adds to the time of a save.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

// One file handed over: what its read-back found, once done.
struct ReadBack {
    std::string file;
    bool done = false;
    bool read = false;  // read and hashed in full
    std::string sha256;
    std::uint64_t size = 0;
};

class ReadBackThread {
public:
    ReadBackThread();
    // Reads back what is still waiting, then ends the thread.
    ~ReadBackThread();
    ReadBackThread(const ReadBackThread&) = delete;
    ReadBackThread& operator=(const ReadBackThread&) = delete;

    // Hands the file over. When no thread could be started the file is
    // read back at once, on the calling thread.
    std::shared_ptr<ReadBack> Start(const std::string& file);
    // True when the read-back of the file has ended.
    bool Done(const ReadBack& readBack) const;
    // Waits until the read-back of the file has ended.
    void Wait(const ReadBack& readBack) const;

private:
    // The queue is shared with the thread: when the thread that owns this
    // object is ended from outside (a killed run), the reading thread is
    // left waiting on a queue that is still there.
    struct Shared {
        std::mutex lock;
        std::condition_variable handedOver;
        std::condition_variable finished;
        std::deque<std::shared_ptr<ReadBack>> waiting;
        bool ending = false;
    };
    static void Run(std::shared_ptr<Shared> shared);
    static constexpr std::size_t kWakeAfter = 4;

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

// Reads the whole file and hashes it: the read-back of one file, on the
// calling thread.
void ReadBackNow(ReadBack& readBack);
