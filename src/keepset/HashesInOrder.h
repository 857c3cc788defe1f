#pragma once
// Hashes the files of a check and hands each result back in the order the
// files were given. A large file is hashed on a thread of its own, so that
// on a processor with more than one core two or more large files are hashed
// at once while the caller goes on with the small ones; one file's hash
// cannot be split, and this is where a check of large files gains its speed.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <string>

struct FileHashResult {
    bool hashed = false;
    bool notFound = false;  // not hashed because the file or its folder does not exist
    std::string sha256;
    std::uint64_t size = 0;
};

// Hashes one file on the calling thread.
FileHashResult HashFile(const std::string& path);

class HashesInOrder {
public:
    using Conclude = std::function<void(const FileHashResult&)>;

    // A file the size list gives at least this size is hashed ahead.
    static constexpr std::uint64_t kAheadBytes = 8u << 20;

    HashesInOrder();
    ~HashesInOrder();
    HashesInOrder(const HashesInOrder&) = delete;
    HashesInOrder& operator=(const HashesInOrder&) = delete;

    // Hashes the file, at once or ahead, and calls conclude on this thread
    // once every file given before it has been concluded.
    void Add(const std::string& path, bool large, Conclude conclude);
    // Concludes every file still pending, waiting for those hashed ahead.
    void Finish();

private:
    struct Pending {
        std::future<FileHashResult> ahead;  // valid while hashed ahead
        FileHashResult result;
        Conclude conclude;
    };
    void ConcludeFront();

    std::deque<Pending> pending_;
    std::size_t aheadInFlight_ = 0;
    std::size_t threads_;
};
