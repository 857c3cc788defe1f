// Throughput of a whole save run (report lines to a window and run log on,
// every saved file hashed as it is copied, for the keepset's manifest) against
// a plain loop of CopyFileA over the same files, both under the same Wine in
// the same run. Two installations: many small files, and a few large ones.
// Prints first how fast our own hash and the system's take data in memory
// ("hash MiB/s own: X, system: Y"), then one line per installation, how
// fast reading and hashing alone go, the lines "manifest small ratio: X",
// "manifest large ratio from the cache: Y" and "manifest large ratio: Z"
// (the large files read from the disk, as a nightly save mostly reads
// them, where the host lets the cache be emptied), and, last, "ratio: X"
// with the smaller of the small and the large ratio (baseline time /
// save-run time; 1.0 means the save run copies as fast as the plain loop).
//
//   qz_save_bench [small-file count] [large-file count] [MiB per large file]
#include "config/SaveSettings.h"
#include "save/SaveRun.h"
#include "support/ReportReceiver.h"
#include "BenchSupport.h"
#include "support/WineHost.h"
#include "win/FileHash.h"
#include "win/HashingCopy.h"
#include "win/MessageBoxes.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::Seconds;
using bench::SettleDisk;
using bench::WriteFilled;

const std::string kRoot = "C:\\qzbench";

// One small file written and flushed to the disk, as a save that records
// its end must. On a file system that writes data in order with its
// journal, the flush first waits for the data of every file copied before.
void WriteDurableRecord(const std::string& target)
{
    HANDLE file = CreateFileA((target + "\\record.inf").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, "[Save]\r\nState=complete\r\n", 25, &written, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
}

enum class Loop { Plain, Hashing, PlainWithRecord };

// The plain loop: every file the pattern finds, copied with CopyFileA from
// the same installation drive the save run reads.
double CopyLoop(const std::string& sourceDirectory, const std::string& pattern, const std::string& target,
                Loop loop = Loop::Plain)
{
    const bool hashing = loop == Loop::Hashing;
    qztest::RemoveTree(target);
    CreateDirectoryA(target.c_str(), nullptr);
    SettleDisk();
    const auto start = std::chrono::steady_clock::now();
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((sourceDirectory + "\\" + pattern).c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            const std::string name = data.cFileName;
            if (hashing) {
                std::string digest;
                std::uint64_t size = 0;
                win::CopyFileHashing(sourceDirectory + "\\" + name, target + "\\" + name, digest, size);
            } else {
                CopyFileA((sourceDirectory + "\\" + name).c_str(), (target + "\\" + name).c_str(), FALSE);
            }
        } while (FindNextFileA(search, &data));
        FindClose(search);
    }
    if (loop == Loop::PlainWithRecord)
        WriteDurableRecord(target);
    return Seconds(start);
}

// One save run on its worker thread, reporting to a window with a list box
// as the main window does, with the run log open.
double SaveRunOnce(const std::string& saveDir, bool voiceMessages)
{
    qztest::RemoveTree(saveDir);
    qztest::ReportReceiver receiver;
    UpdateSaveSettings([&](SaveSettingsRecord& s) {
        s.SaveDir = saveDir;
        s.LogPath = "log\\qzkeepset.log";
        s.MainWindow = receiver.Window();
        s.InstallDrive = "Q:";
        s.SaveMSG = voiceMessages ? 1 : 0;
        s.SaveDesktop = 0;
    });
    SettleDisk();
    const auto start = std::chrono::steady_clock::now();
    StartSaveRun();
    receiver.WaitForEnd(3600 * 1000);
    return Seconds(start);
}

struct Measured {
    double baseline;
    double saveRun;
};

// Reading and hashing alone: win::FileSha256 over the plain loop's copies.
// Prints its throughput.
void ReportHashing(const char* name, const std::string& directory)
{
    std::uint64_t bytes = 0;
    int files = 0;
    const auto start = std::chrono::steady_clock::now();
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            std::string digest;
            std::uint64_t size = 0;
            win::FileSha256(directory + "\\" + data.cFileName, digest, size);
            bytes += size;
            ++files;
        } while (FindNextFileA(search, &data));
        FindClose(search);
    }
    const double seconds = Seconds(start);
    std::printf("%s: reading back and hashing alone %.2f s (%.3f ms a file, %.0f MiB/s)\n", name, seconds,
                files > 0 ? seconds * 1000.0 / files : 0.0, seconds > 0 ? bytes / 1048576.0 / seconds : 0.0);
    std::fflush(stdout);
}

// How fast a hasher takes data already in memory, in pieces of a copy
// chunk: the best of three rounds over 256 MiB.
double HashMiBPerSecond(win::HashImplementation implementation)
{
    const std::vector<unsigned char> piece(win::kCopyChunkBytes, 0x5a);
    constexpr int kPieces = 256;
    double best = 1e30;
    for (int round = 0; round < 3; ++round) {
        win::Sha256Hasher hasher(implementation);
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kPieces; ++i)
            hasher.Add(piece.data(), piece.size());
        std::string digest;
        hasher.Finish(digest);
        best = std::min(best, Seconds(start));
    }
    return kPieces * (piece.size() / 1048576.0) / best;
}

// Our own hash (with the processor's SHA instructions where it has them)
// against the system's.
void ReportHashThroughput()
{
    const bool instructions = win::ProcessorHasSha256Instructions();
    const double own = HashMiBPerSecond(instructions ? win::HashImplementation::OwnWithInstructions
                                                     : win::HashImplementation::OwnPortable);
    const double system = HashMiBPerSecond(win::HashImplementation::System);
    std::printf("hash MiB/s own: %.0f, system: %.0f\n", own, system);
    if (instructions)
        std::printf("hash MiB/s own without the SHA instructions: %.0f\n",
                    HashMiBPerSecond(win::HashImplementation::OwnPortable));
    std::printf("hash used by the program: %s\n", win::HashImplementationName(win::ChosenHashImplementation()));
    std::fflush(stdout);
}

// The save ratios with the manifest on, as the keepset trust work measures them.
void ReportManifestRatios(double small, double large, double largeFromCache)
{
    std::printf("manifest small ratio: %.3f\n", small);
    std::printf("manifest large ratio from the cache: %.3f\n", largeFromCache);
    std::printf("manifest large ratio: %.3f\n", large);
    std::fflush(stdout);
}

// Alternates the two, twice, and keeps the better time of each, so neither
// profits alone from a warm cache.
Measured Measure(const std::string& sourceDirectory, const std::string& pattern, bool voiceMessages)
{
    Measured best{1e30, 1e30};
    for (int round = 0; round < 2; ++round) {
        best.baseline = std::min(best.baseline, CopyLoop(sourceDirectory, pattern, kRoot + "\\plain"));
        best.saveRun = std::min(best.saveRun, SaveRunOnce(kRoot + "\\keep", voiceMessages));
    }
    ReportHashing(voiceMessages ? "large files" : "small files", kRoot + "\\plain");
    // The save's copy loop alone, the same loop with the layer's hashing copy.
    double hashingCopy = 1e30;
    for (int round = 0; round < 2; ++round)
        hashingCopy = std::min(hashingCopy, CopyLoop(sourceDirectory, pattern, kRoot + "\\plain", Loop::Hashing));
    std::printf("%s: the same loop copying and hashing %.2f s\n", voiceMessages ? "large files" : "small files",
                hashingCopy);
    // What the save's flushed record at its end costs on this file system.
    double withRecord = 1e30;
    for (int round = 0; round < 2; ++round)
        withRecord =
            std::min(withRecord, CopyLoop(sourceDirectory, pattern, kRoot + "\\plain", Loop::PlainWithRecord));
    std::printf("%s: the plain loop ending with one record file flushed to the disk %.2f s (ratio %.3f)\n",
                voiceMessages ? "large files" : "small files", withRecord, withRecord / best.saveRun);
    qztest::RemoveTree(kRoot + "\\plain");
    qztest::RemoveTree(kRoot + "\\keep");
    return best;
}

double Report(const char* name, int files, double megabytes, const Measured& m)
{
    const double ratio = m.baseline / m.saveRun;
    std::printf("%s %s: %d files, %.0f MiB: plain CopyFileA loop %.2f s, save run %.2f s, ratio %.3f\n", name,
                bench::CacheState(), files, megabytes, m.baseline, m.saveRun, ratio);
    std::fflush(stdout);
    return ratio;
}

}  // namespace

int main(int argc, char** argv)
{
    const int smallFiles = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int largeFiles = argc > 2 ? std::atoi(argv[2]) : 4;
    const int largeMiB = argc > 3 ? std::atoi(argv[3]) : 256;

    ReportHashThroughput();
    win::SetMessageBoxHandler([](const std::string&, const std::string&, unsigned) { return win::kAnswerOk; });
    qztest::RemoveTree(kRoot);
    const std::string install = kRoot + "\\inst";
    qztest::MakeDirectories(install + "\\db1");
    qztest::MakeDirectories(install + "\\qzt");
    qztest::MakeDirectories(install + "\\dbv1");
    qztest::MakeDirectories(kRoot + "\\work\\log");
    qztest::MapDrive('Q', install);
    SetCurrentDirectoryA((kRoot + "\\work").c_str());
    WriteFilled(install + "\\db1\\vm001.dbf", 4096, 'v');

    // Many small files in the tool directory, found by its "*.txt" pattern.
    char name[32];
    for (int i = 0; i < smallFiles; ++i) {
        std::snprintf(name, sizeof name, "\\qzt\\f%05d.txt", i);
        WriteFilled(install + name, 1024, 'a' + i % 26);
    }
    double small = 1e30;
    if (smallFiles > 0)
        small = Report("small files", smallFiles, smallFiles / 1024.0, Measure("Q:\\qzt", "*.txt", false));
    qztest::RemoveTree(install + "\\qzt");
    qztest::MakeDirectories(install + "\\qzt");

    // A few large voice-message files.
    for (int i = 0; i < largeFiles; ++i) {
        std::snprintf(name, sizeof name, "\\dbv1\\v%04d_1.vox", i);
        WriteFilled(install + name, static_cast<std::size_t>(largeMiB) << 20, 'x');
    }
    double large = 1e30;
    double largeFromCache = 1e30;
    if (largeFiles > 0) {
        const double megabytes = static_cast<double>(largeFiles) * largeMiB;
        large = bench::FromCacheThenDisk(
            [&] { return Report("large files", largeFiles, megabytes, Measure("Q:\\dbv1", "*.vox", true)); },
            largeFromCache);
    }

    qztest::UnmapDrive('Q');
    SetCurrentDirectoryA("C:\\");
    qztest::RemoveTree(kRoot);
    ReportManifestRatios(small, large, largeFromCache);
    std::printf("ratio: %.3f\n", std::min(small, large));
    return 0;
}
