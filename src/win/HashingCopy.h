#pragma once
// A file copy that hashes the bytes as it writes them, so that a copy into
// a keepset needs no second read for its manifest.
#include <cstdint>
#include <string>

namespace win {

// The size of the chunks the copy reads and writes.
constexpr std::size_t kCopyChunkBytes = std::size_t{1} << 20;

// Copies source to target as CopyFile with fail-if-exists false does: the
// target is created or replaced (an existing read-only target refuses, as
// it does there), and takes the source's last-write time and attributes.
// Gives the SHA-256 of the bytes written as 64 lower-case hex digits and
// their count. A file larger than one chunk is hashed on a second thread
// while the next chunks are read and written.
//
// False when the source cannot be opened or read, the target cannot be
// created or written, or the hashing fails; the thread's last error then
// says why, and a target this call created is removed again, so no cut
// copy stays behind. Counted as a FileCopy at its start, one FileCopyChunk
// per chunk, and a FileHash when the hash is finished.
bool CopyFileHashing(const std::string& source, const std::string& target, std::string& hexDigest,
                     std::uint64_t& size);

// The same into a target that must not exist yet: it is created new
// (CREATE_NEW), so an existing file, link or junction of that name is never
// opened, and the call fails with ERROR_FILE_EXISTS. A failure armed torn
// for the FileCopy leaves the first half of the source in a new target, as
// a power cut in the middle of the copy does.
bool CopyFileHashingToNew(const std::string& source, const std::string& target, std::string& hexDigest,
                          std::uint64_t& size);

// How CopyHashingAndReplace ended.
enum class CopyOutcome {
    Replaced,     // the copy is in the destination's place
    CopyFailed,   // the copy could not be made (the last error says why)
    NotExpected,  // the copy's hash is not the expected one
    NotReplaced,  // the copy could not be moved over the destination
};

// Copies source into a new file temporary as CopyFileHashingToNew does and,
// when its hash is expectedSha256 (or none is expected), moves that same
// file, by its open handle and not by name, over destination in one step,
// so that destination is either as it was or the whole checked copy. On
// any outcome but Replaced the temporary file is gone again (unless a
// failure armed torn for the FileCopy left half of it, as a power cut
// would). hexDigest and size are those of the copy when it was made.
// Counted as CopyFileHashingToNew, and a FileMove for the replacing.
CopyOutcome CopyHashingAndReplace(const std::string& source, const std::string& temporary,
                                  const std::string& destination, const std::string& expectedSha256,
                                  std::string& hexDigest, std::uint64_t& size);

}  // namespace win
