#include "BenchSupport.h"

#include "support/WineHost.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace bench {

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void WriteFilled(const std::string& path, std::size_t bytes, char fill)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::vector<char> block(std::min<std::size_t>(bytes, 1 << 20), fill);
    while (bytes > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min(bytes, block.size()));
        DWORD written = 0;
        WriteFile(file, block.data(), chunk, &written, nullptr);
        bytes -= chunk;
    }
    CloseHandle(file);
}

namespace {
bool fromDisk = false;

bool EmptyFileCache()
{
    return qztest::RunUnix({"/bin/sh", "-c", "echo 3 > /proc/sys/vm/drop_caches"}) == 0;
}

// Turns reading from the disk on or off; false when the cache cannot be
// emptied, and reading from the disk stays off.
bool ReadFromDisk(bool on)
{
    fromDisk = on && EmptyFileCache();
    return fromDisk == on;
}
}  // namespace

void SettleDisk()
{
    qztest::RunUnix({"/bin/sync"});
    if (fromDisk)
        EmptyFileCache();
}

const char* CacheState()
{
    return fromDisk ? "from the disk" : "from the cache";
}

double FromCacheThenDisk(const std::function<double()>& measure, double& fromCache)
{
    fromCache = measure();
    if (!ReadFromDisk(true))
        return fromCache;
    const double fromTheDisk = measure();
    ReadFromDisk(false);
    return fromTheDisk;
}

std::vector<std::string> FilesIn(const std::string& directory)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.push_back(data.cFileName);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return names;
}

}  // namespace bench
