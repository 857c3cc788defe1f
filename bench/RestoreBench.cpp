// Throughput of a verified restore (the keepset's manifest read, every
// file copied to a temporary name, its hash checked, then moved over the
// live file) against a plain loop of CopyFileA over the same keepset files
// onto the same installation, both under the same Wine in the same run.
// Two keepsets: many small files, and a few large ones, the large ones
// measured from the cache and then from the disk (where the host lets the
// cache be emptied). Prints one line per measurement, "restore small
// ratio", "restore large ratio from the cache", "restore large ratio" (from
// the disk) and "restore ratio: Z", the smaller of the small and the large
// ratio (plain-loop time / restore time; 1.0 means the restore is as fast
// as the plain loop).
//
//   qz_restore_bench [small-file count] [large-file count] [MiB per large file]
#include "restore/RestoreRunHost.h"
#include "restore/RunRestore.h"
#include "keepset/ManifestFormat.h"
#include "BenchSupport.h"
#include "support/WineHost.h"
#include "win/FileHash.h"
#include "win/HashingCopy.h"
#include "win/MessageBoxes.h"

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

const std::string kRoot = "C:\\qzrestorebench";
const std::string kKeep = kRoot + "\\keep";
const std::string kInstall = kRoot + "\\inst";

// The manifest and size list of one keepset directory, as a save writes them.
void WriteManifest(const std::string& subDirectory)
{
    std::vector<ManifestEntry> entries;
    for (const std::string& name : FilesIn(kKeep + "\\" + subDirectory)) {
        ManifestEntry entry;
        entry.path = subDirectory + "\\" + name;
        win::FileSha256(kKeep + "\\" + entry.path, entry.sha256, entry.size);
        entry.sizeKnown = true;
        entries.push_back(entry);
    }
    qztest::WriteFileText(kKeep + "\\" + kSizeListFileName, FormatSizeList(entries));
    qztest::WriteFileText(kKeep + "\\" + kManifestFileName, FormatManifest(entries));
}

// The plain loop: every file of the keepset directory copied over the
// installation's file of the same name.
double CopyLoop(const std::string& subDirectory)
{
    SettleDisk();
    const auto start = std::chrono::steady_clock::now();
    WIN32_FIND_DATAA data;
    const std::string source = kKeep + "\\" + subDirectory;
    HANDLE search = FindFirstFileA((source + "\\*.*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            const std::string name = data.cFileName;
            CopyFileA((source + "\\" + name).c_str(), ("Q:\\" + subDirectory + "\\" + name).c_str(), FALSE);
        } while (FindNextFileA(search, &data));
        FindClose(search);
    }
    return Seconds(start);
}

class QuietHost : public RestoreRunHost {
public:
    void ShowWaitCursor() override {}
    void ShowArrowCursor() override {}
    void CloseWithOk() override {}
};

double RestoreOnce(int item)
{
    RestoreRequest request;
    request.source = RestoreSource::OtherRoot;
    request.keepsetRoot = kKeep;
    request.recordFile = kKeep + ".\\qzkeepset.inf";
    request.recordSection = "Save";
    request.kind = RestoreKind::Custom;
    request.customRows = {{item, true}};
    QuietHost host;
    SettleDisk();
    const auto start = std::chrono::steady_clock::now();
    const bool restored = RunRestore(request, host);
    const double seconds = Seconds(start);
    if (!restored) {
        std::printf("the restore restored nothing; its log ends:\n");
        const std::string log = qztest::ReadFileText(kInstall + "\\work\\log\\qzkeepset.log");
        std::printf("%s\n", log.substr(log.size() > 600 ? log.size() - 600 : 0).c_str());
    }
    return seconds;
}

struct Measured {
    double baseline;
    double restore;
};

// Alternates the two, twice, and keeps the better time of each.
Measured Measure(const std::string& subDirectory, int item)
{
    Measured best{1e30, 1e30};
    for (int round = 0; round < 2; ++round) {
        best.baseline = std::min(best.baseline, CopyLoop(subDirectory));
        best.restore = std::min(best.restore, RestoreOnce(item));
    }
    return best;
}

double Report(const char* name, int files, double megabytes, const Measured& m)
{
    const double ratio = m.baseline / m.restore;
    std::printf("restore of %s %s: %d files, %.0f MiB: plain CopyFileA loop %.2f s, verified restore %.2f s, "
                "ratio %.3f\n",
                name, bench::CacheState(), files, megabytes, m.baseline, m.restore, ratio);
    std::fflush(stdout);
    return ratio;
}

}  // namespace

int main(int argc, char** argv)
{
    const int smallFiles = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int largeFiles = argc > 2 ? std::atoi(argv[2]) : 4;
    const int largeMiB = argc > 3 ? std::atoi(argv[3]) : 128;

    win::SetMessageBoxHandler([](const std::string&, const std::string&, unsigned style) {
        return (style & win::kBoxYesNo) != 0 ? win::kAnswerYes : win::kAnswerOk;
    });
    qztest::RemoveTree(kRoot);
    for (const char* directory : {"\\keep\\qzt", "\\keep\\dbv1", "\\inst\\qzt", "\\inst\\dbv1", "\\inst\\work\\log"})
        qztest::MakeDirectories(kRoot + directory);
    qztest::WriteFileText(kKeep + "\\qzkeepset.inf", "[Save]\r\nSaveMsg=1\r\nState=complete\r\n");
    qztest::MapDrive('Q', kInstall);
    // The installation's \qzt and \dbv1 are those of the current drive.
    SetCurrentDirectoryA("Q:\\work");

    char name[32];
    double small = 1e30;
    if (smallFiles > 0) {
        for (int i = 0; i < smallFiles; ++i) {
            std::snprintf(name, sizeof name, "\\qzt\\f%05d.txt", i);
            WriteFilled(kKeep + name, 1024, static_cast<char>('a' + i % 26));
            WriteFilled(kInstall + name, 1000, 'o');
        }
        WriteManifest("qzt");
        small = Report("small files", smallFiles, smallFiles / 1024.0, Measure("qzt", 3));
        qztest::RemoveTree(kKeep + "\\qzt");
        qztest::RemoveTree(kInstall + "\\qzt");
    }

    double large = 1e30;
    double largeFromCache = 1e30;
    if (largeFiles > 0) {
        for (int i = 0; i < largeFiles; ++i) {
            std::snprintf(name, sizeof name, "\\dbv1\\v%04d_1.vox", i);
            WriteFilled(kKeep + name, static_cast<std::size_t>(largeMiB) << 20, 'x');
            // The installation's own copy of the same size, as the plain
            // loop and the restore find it in every round after the first:
            // each replaces a file of that size every time.
            WriteFilled(kInstall + name, static_cast<std::size_t>(largeMiB) << 20, 'o');
        }
        WriteManifest("dbv1");
        // What reading and hashing alone cost.
        const auto start = std::chrono::steady_clock::now();
        for (const std::string& file : FilesIn(kKeep + "\\dbv1")) {
            std::string digest;
            std::uint64_t size = 0;
            win::FileSha256(kKeep + "\\dbv1\\" + file, digest, size);
        }
        const double hashing = Seconds(start);
        std::printf("hashing the large files alone: %.2f s, %.0f MiB/s\n", hashing,
                    static_cast<double>(largeFiles) * largeMiB / hashing);
        // What the restore's hashing copy alone costs, into new files.
        qztest::MakeDirectories(kRoot + "\\copies");
        SettleDisk();
        const auto copyStart = std::chrono::steady_clock::now();
        for (const std::string& file : FilesIn(kKeep + "\\dbv1")) {
            std::string digest;
            std::uint64_t size = 0;
            win::CopyFileHashingToNew(kKeep + "\\dbv1\\" + file, kRoot + "\\copies\\" + file, digest, size);
        }
        const double copying = Seconds(copyStart);
        std::printf("hashing copy of the large files alone: %.2f s, %.0f MiB/s\n", copying,
                    static_cast<double>(largeFiles) * largeMiB / copying);
        qztest::RemoveTree(kRoot + "\\copies");
        const double megabytes = static_cast<double>(largeFiles) * largeMiB;
        large = bench::FromCacheThenDisk(
            [&] { return Report("large files", largeFiles, megabytes, Measure("dbv1", 6)); }, largeFromCache);
    }

    qztest::UnmapDrive('Q');
    SetCurrentDirectoryA("C:\\");
    qztest::RemoveTree(kRoot);
    std::printf("restore small ratio: %.3f\n", small);
    std::printf("restore large ratio from the cache: %.3f\n", largeFromCache);
    std::printf("restore large ratio: %.3f\n", large);
    std::printf("restore ratio: %.3f\n", std::min(small, large));
    return 0;
}
