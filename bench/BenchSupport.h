#pragma once
// What the benchmarks share: timing, filling their test files, and letting
// the disk settle between timed runs.
#include <chrono>
#include <cstddef>
#include <string>

namespace bench {

// Seconds since start.
double Seconds(std::chrono::steady_clock::time_point start);

// Creates or replaces the file with bytes copies of fill.
void WriteFilled(const std::string& path, std::size_t bytes, char fill);

// Dirty pages of the previous run are written out first, so that no run
// pays for the writes of another.
void SettleDisk();

}  // namespace bench
