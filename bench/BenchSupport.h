#pragma once
// What the benchmarks share: timing, filling their test files, and letting
// the disk settle between timed runs.
#include <chrono>
#include <cstddef>
#include <functional>
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
// pays for the writes of another. While reading from the disk is on, the
// system's file cache is emptied as well, so that the timed run reads its
// files from the disk.
void SettleDisk();

// "from the disk" while reading from the disk is on, else "from the
// cache", as a benchmark's lines name how its files were read.
const char* CacheState();

// Runs measure (which returns a ratio) from the cache and then, where the
// cache can be emptied (Linux: /proc/sys/vm/drop_caches, which needs the
// host's root rights), from the disk. Returns the ratio from the disk, or
// the one from the cache where there is none; fromCache gets the latter.
double FromCacheThenDisk(const std::function<double()>& measure, double& fromCache);

}  // namespace bench
