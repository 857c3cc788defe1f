#pragma once
// A text file read one line at a time, so that a file of any length is
// read with the memory of one chunk and one line.
#include <functional>
#include <string>

namespace win {

// Hands each line to visit without its "\n" (a CR before it stays), the
// last one also without a line end; visit returns false to stop early.
// False when the file cannot be opened or read (the thread's last error
// says why; LastErrorIsNotFound tells a file that is not there) or visit
// stopped. Counted as a FileRead.
bool ReadFileLines(const std::string& path, const std::function<bool(const std::string& line)>& visit);

}  // namespace win
