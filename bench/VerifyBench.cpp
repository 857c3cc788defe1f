// Throughput of /verify's check of a keepset (the manifest streamed, every
// listed file read back and hashed, the tree walked for files not listed)
// against a plain loop that reads the same files, both under the same Wine
// in the same run. Two keepsets: many small files, and a few large ones,
// the large ones measured twice: from the cache, where reading costs next
// to nothing and the check is bound by the hash, and from the disk, as a
// nightly check mostly finds them (where the host lets the cache be
// emptied). Prints one line per measurement, "verify large ratio from the
// cache: X", "verify large ratio: Y" (from the disk where it could be) and
// "verify ratio: Z", the smaller of the small files' ratio and Y
// (plain-loop time / verify time; 1.0 means the check is as fast as
// reading the files). Each line also gives the time of reading and hashing
// the files one after the other on one thread.
//
//   qz_verify_bench [small-file count] [large-file count] [MiB per large file]
#include "BenchSupport.h"
#include "keepset/VerifyKeepset.h"
#include "keepset/ManifestFormat.h"
#include "support/WineHost.h"
#include "win/FileHash.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::Seconds;
using bench::SettleDisk;
using bench::FilesIn;
using bench::WriteFilled;

const std::string kRoot = "C:\\qzverifybench";

// A keepset of one folder of files with its manifest, size list and record.
void WriteKeepset(const std::string& keepset, const std::string& folder)
{
    std::vector<ManifestEntry> entries;
    for (const std::string& name : FilesIn(keepset + "\\" + folder)) {
        ManifestEntry entry;
        entry.path = folder + "\\" + name;
        win::FileSha256(keepset + "\\" + entry.path, entry.sha256, entry.size);
        entry.sizeKnown = true;
        entries.push_back(entry);
    }
    qztest::WriteFileText(keepset + "\\" + kSizeListFileName, FormatSizeList(entries));
    qztest::WriteFileText(keepset + "\\" + kManifestFileName, FormatManifest(entries));
    qztest::WriteFileText(keepset + "\\qzkeepset.inf", "[Save]\r\nState=complete\r\n");
}

// The plain loop: every file of the folder read to its end.
double ReadLoop(const std::string& folder)
{
    static std::vector<char> buffer(1 << 20);
    SettleDisk();
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& name : FilesIn(folder)) {
        HANDLE file = CreateFileA((folder + "\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        DWORD got = 0;
        while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0) {
        }
        CloseHandle(file);
    }
    return Seconds(start);
}

double VerifyOnce(const std::string& keepset, std::size_t expected)
{
    RunLog log;  // not opened: its lines are dropped
    VerifyCounts counts;
    SettleDisk();
    const auto start = std::chrono::steady_clock::now();
    const int status = VerifyKeepset(keepset, log, counts);
    const double seconds = Seconds(start);
    if (status != kVerifyWhole || counts.whole != expected)
        std::printf("the check found the keepset not whole: status %d, %llu of %zu whole\n", status,
                    static_cast<unsigned long long>(counts.whole), expected);
    return seconds;
}

// Alternates the two, twice, and keeps the better time of each.
double MeasureAndReport(const char* name, const std::string& keepset, const std::string& folder, double megabytes)
{
    const std::size_t files = FilesIn(keepset + "\\" + folder).size();
    double baseline = 1e30;
    double verify = 1e30;
    for (int round = 0; round < 2; ++round) {
        baseline = std::min(baseline, ReadLoop(keepset + "\\" + folder));
        verify = std::min(verify, VerifyOnce(keepset, files));
    }
    // What the hashing alone costs: the check cannot be faster.
    SettleDisk();
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& file : FilesIn(keepset + "\\" + folder)) {
        std::string digest;
        std::uint64_t size = 0;
        win::FileSha256(keepset + "\\" + folder + "\\" + file, digest, size);
    }
    const double hashing = Seconds(start);
    const double ratio = baseline / verify;
    std::printf("verify of %s %s: %zu files, %.0f MiB: plain read loop %.2f s, reading and hashing alone %.2f s, "
                "verify %.2f s, ratio %.3f (%.3f of the hashing's speed)\n",
                name, bench::CacheState(), files, megabytes, baseline, hashing, verify, ratio, hashing / verify);
    std::fflush(stdout);
    return ratio;
}

}  // namespace

int main(int argc, char** argv)
{
    const int smallFiles = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int largeFiles = argc > 2 ? std::atoi(argv[2]) : 4;
    const int largeMiB = argc > 3 ? std::atoi(argv[3]) : 128;
    qztest::RemoveTree(kRoot);
    char name[32];
    double small = 1e30;
    if (smallFiles > 0) {
        const std::string keepset = kRoot + "\\small";
        qztest::MakeDirectories(keepset + "\\qzt");
        for (int i = 0; i < smallFiles; ++i) {
            std::snprintf(name, sizeof name, "\\qzt\\f%05d.txt", i);
            WriteFilled(keepset + name, 1024, static_cast<char>('a' + i % 26));
        }
        WriteKeepset(keepset, "qzt");
        small = MeasureAndReport("small files", keepset, "qzt", smallFiles / 1024.0);
        qztest::RemoveTree(keepset);
    }
    double large = 1e30;
    if (largeFiles > 0) {
        const std::string keepset = kRoot + "\\large";
        qztest::MakeDirectories(keepset + "\\dbv1");
        for (int i = 0; i < largeFiles; ++i) {
            std::snprintf(name, sizeof name, "\\dbv1\\v%04d_1.vox", i);
            WriteFilled(keepset + name, static_cast<std::size_t>(largeMiB) << 20, 'x');
        }
        WriteKeepset(keepset, "dbv1");
        const double megabytes = static_cast<double>(largeFiles) * largeMiB;
        double fromCache = 1e30;
        large = bench::FromCacheThenDisk(
            [&] { return MeasureAndReport("large files", keepset, "dbv1", megabytes); }, fromCache);
        std::printf("verify large ratio from the cache: %.3f\n", fromCache);
        std::printf("verify large ratio: %.3f\n", large);
    }
    qztest::RemoveTree(kRoot);
    // Large files from the disk where the cache could be emptied.
    std::printf("verify ratio: %.3f\n", std::min(small, large));
    return 0;
}
