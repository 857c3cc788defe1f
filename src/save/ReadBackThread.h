#pragma once
// Reports copied files on a thread of its own, in the order they were
// handed over, so that a copy loop does not wait for a file's line before
// it copies the next: sending a line to the main window costs about as much
// as copying a small file, and done beside the copies it no longer adds to
// the time of a save. A file whose copy did not hash it on the way (hashed
// false) is read back and hashed there first.
//
// The thread that creates the reader owns it: once that thread has ended
// (a run cut short), the reader drops what is still waiting.
#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <thread>

// One file handed over, and what its read-back found.
struct ReadBack {
    std::string file;
    bool copied = false;  // false: the copy failed, there is nothing to read back
    // The copy hashed the bytes it wrote: sha256 and size are set, and the
    // file is not read back.
    bool hashed = false;
    // Runs on the reading thread after the read-back, in the order the
    // files were handed over; may be empty.
    std::function<void(const ReadBack&)> report;

    // Filled in before report runs.
    bool read = false;  // hashed in full, by the copy or by reading it back
    std::string sha256;
    std::uint64_t size = 0;
    std::string relative;      // below the keepset directory; empty when not below it
    std::string manifestPath;  // relative, in UTF-8
    bool kept = false;         // copied, read back and, when below the keepset, listable

    bool done = false;  // guarded by the reader's lock
};

// Reads the file back on the calling thread, unless its copy hashed it, and
// works out whether it can be listed in the manifest of the keepset
// directory.
void ReadBackNow(ReadBack& readBack, const std::string& keepsetDirectory);

class ReadBackThread {
public:
    explicit ReadBackThread(const std::string& keepsetDirectory);
    // Reads back and reports what is still waiting, then ends the thread.
    ~ReadBackThread();
    ReadBackThread(const ReadBackThread&) = delete;
    ReadBackThread& operator=(const ReadBackThread&) = delete;

    // False when no thread could be started; Start then does the work at
    // once, on the calling thread.
    bool Running() const { return thread_.joinable(); }
    // Hands the file over.
    void Start(const std::shared_ptr<ReadBack>& readBack);
    // True when the file has been read back and reported.
    bool Done(const ReadBack& readBack) const;
    // Waits until the file has been read back and reported. Messages sent
    // to the waiting thread's windows are handled meanwhile: when the run
    // goes on the thread of the main window, its lines get through.
    void Wait(const ReadBack& readBack) const;

private:
    // The queue is shared with the thread, which may outlive this object
    // when the owning thread is ended from outside. The system's slim lock
    // and condition variable, because they wait and wake without a round
    // trip through the system where nobody has to wait (the run's thread
    // hands over every file and wakes the reader every few).
    struct Shared {
        std::string directory;
        HANDLE owner = nullptr;  // the owning thread, to see whether it still runs
        SRWLOCK lock = SRWLOCK_INIT;
        CONDITION_VARIABLE handedOver = CONDITION_VARIABLE_INIT;
        HANDLE finished = nullptr;  // event: a file is done that somebody waits for
        bool awaited = false;
        std::deque<std::shared_ptr<ReadBack>> waiting;
        bool ending = false;
        ~Shared();
    };
    static void Run(std::shared_ptr<Shared> shared);
    static constexpr std::size_t kWakeAfter = 4;

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};
