#pragma once
// SHA-256 of a file's content through the system's hashing service.
#include <cstdint>
#include <string>

namespace win {

// Reads the whole file and gives its SHA-256 as 64 lower-case hex digits
// and its size in bytes. False when the file cannot be opened or read, or
// the hashing service fails; the thread's last error then says why.
bool FileSha256(const std::string& path, std::string& hexDigest, std::uint64_t& size);

}  // namespace win
