#pragma once
// What the benchmarks share: timing, filling their test files, and letting
// the disk settle between timed runs.
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// Seconds since start.
double Seconds(std::chrono::steady_clock::time_point start);

// Creates or replaces the file with bytes copies of fill.
void WriteFilled(const std::string& path, std::size_t bytes, char fill);

// The names of the files (not the folders) directly in a directory.
std::vector<std::string> FilesIn(const std::string& directory);

// Dirty pages of the previous run are written out first, so that no run
// pays for the writes of another.
void SettleDisk();

}  // namespace bench
