#pragma once
// For the layer's own files: reads a file from start to end in chunks.
#include <functional>
#include <string>

namespace win {

// Opens the file for reading (others may read it too) and hands each chunk
// to the consumer, which returns false to stop with a failure. False when
// the path does not convert, the file cannot be opened or read, or the
// consumer stopped; the thread's last error then says why.
bool ReadFileInChunks(const std::string& path, const std::function<bool(const unsigned char*, unsigned long)>& consume);

}  // namespace win
