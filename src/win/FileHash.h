#pragma once
// SHA-256 for the program: our own with the processor's SHA instructions
// where the processor has them, else the system's hashing service (and our
// own portable one should that service not open). The rest of the program
// does not know which runs.
#include "win/Sha256.h"

#include <cstdint>
#include <memory>
#include <string>

namespace win {

enum class HashImplementation {
    OwnWithInstructions,  // Sha256Engine::ProcessorInstructions
    System,               // the system's hashing service
    OwnPortable,          // Sha256Engine::Portable
};

// The one the program uses, chosen once for the process.
HashImplementation ChosenHashImplementation();
const char* HashImplementationName(HashImplementation implementation);

// Hashes a message given in pieces. Pieces may be added from any one
// thread at a time.
class Sha256Hasher {
public:
    // An implementation that is not available here falls back as the
    // chosen one does.
    explicit Sha256Hasher(HashImplementation implementation = ChosenHashImplementation());
    ~Sha256Hasher();
    Sha256Hasher(const Sha256Hasher&) = delete;
    Sha256Hasher& operator=(const Sha256Hasher&) = delete;

    HashImplementation Implementation() const { return implementation_; }
    // False when the system's service failed; the hasher is of no use then.
    bool Add(const unsigned char* data, std::size_t length);
    // The digest as 64 lower-case hex digits; false when the service failed.
    bool Finish(std::string& hexDigest);

private:
    struct SystemHash;
    HashImplementation implementation_;
    Sha256 own_;
    std::unique_ptr<SystemHash> system_;
    bool failed_ = false;
};

// Reads the whole file and gives its SHA-256 as 64 lower-case hex digits
// and its size in bytes. False when the file cannot be opened or read, or
// the hashing fails; the thread's last error then says why.
bool FileSha256(const std::string& path, std::string& hexDigest, std::uint64_t& size);

}  // namespace win
