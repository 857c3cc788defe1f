// CopyFilesByPattern against real files: what it copies, skips and reports.
#include "CopyTestHost.h"

#include "save/CopyPrimitives.h"
#include "save/SavedFiles.h"
#include "win/CallCounter.h"
#include "win/FileHash.h"
#include "win/Files.h"
#include "win/HashingCopy.h"

#include "support/MessagePump.h"

#include <atomic>
#include <set>
#include <thread>

using CopyFilesByPattern_ = CopyTest;

namespace {

std::string Saved(const std::string& source, const std::string& target)
{
    return source + " saved to " + target;
}

std::string Failed(const std::string& source, const std::string& target)
{
    return "FAILED to save " + source + " to " + target + " !";
}

}  // namespace

TEST_F(CopyFilesByPattern_, CopiesFilesSkipsDirectoriesAndDotNamesAndFailsOnHiddenDirectory)
{
    const std::string source = folder_ / "src";
    const std::string target = folder_ / "dst";
    qztest::WriteFileText(source + "\\a.txt", "alpha");
    qztest::WriteFileText(source + "\\b.dat", "beta");
    qztest::WriteFileText(source + "\\.profile", "dot");
    qztest::MakeDirectories(source + "\\plain");
    qztest::MakeDirectories(source + "\\secret");
    qztest::SetAttributes(source + "\\secret", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    qztest::MakeDirectories(target);

    EXPECT_EQ(CopyFilesByPattern(source + "\\*.*", source, target), 1);

    EXPECT_EQ(qztest::ReadFileText(target + "\\a.txt"), "alpha");
    EXPECT_EQ(qztest::ReadFileText(target + "\\b.dat"), "beta");
    EXPECT_FALSE(qztest::Exists(target + "\\.profile"));
    EXPECT_FALSE(qztest::Exists(target + "\\plain"));
    EXPECT_EQ(window_.Texts(0), Sorted({Saved(source + "\\a.txt", target + "\\a.txt"),
                                        Saved(source + "\\b.dat", target + "\\b.dat")}));
    // The hidden directory (18) is not a directory by the whole-value test.
    const std::string secretFailed = Failed(source + "\\secret", target + "\\secret");
    EXPECT_EQ(window_.Texts(1), std::vector<std::string>{secretFailed});
    EXPECT_EQ(Sorted(LogTexts()), Sorted({Saved(source + "\\a.txt", target + "\\a.txt"),
                                          Saved(source + "\\b.dat", target + "\\b.dat"),
                                          secretFailed + " File attribute: 18"}));
}

TEST_F(CopyFilesByPattern_, FailedCopyIsListedPlainAndLoggedWithItsAttributeValue)
{
    const std::string source = folder_ / "src";
    const std::string target = folder_ / "dst";
    qztest::WriteFileText(source + "\\vm001.dbf", "db");
    qztest::MakeDirectories(target);
    const unsigned long attributes = win::FileAttributes(source + "\\vm001.dbf");
    win::ResetCalls();
    win::FailCall(win::Op::FileCopy, 1, ERROR_SHARING_VIOLATION);

    EXPECT_EQ(CopyFilesByPattern(source + "\\*.dbf", source, target), 1);

    const std::string text = Failed(source + "\\vm001.dbf", target + "\\vm001.dbf");
    ASSERT_EQ(window_.Reports().size(), 1u);
    EXPECT_EQ(window_.Reports()[0].wParam, 1u);
    EXPECT_EQ(window_.Reports()[0].text, text);
    EXPECT_EQ(LogTexts(), std::vector<std::string>{text + " File attribute: " + std::to_string(attributes)});
    EXPECT_FALSE(qztest::Exists(target + "\\vm001.dbf"));
}

// In a save run the copies are reported on a thread of their own while
// the loop copies on; each file's line waits for its copy and hash.
// Whatever fails where, the lines come in the order of the search, each
// coloured by its own copy and hash, and the keepset lists exactly the
// green files.
TEST_F(CopyFilesByPattern_, LinesFollowTheSearchOrderWhileCopiesAreReadBackBesideTheLoop)
{
    const std::string keepset = folder_ / "keep";
    const std::string source = folder_ / "src";
    const std::string target = keepset + "\\dst";
    constexpr int kFiles = 75;
    for (int i = 0; i < kFiles; ++i)
        qztest::WriteFileText(source + "\\f" + std::to_string(i) + ".vox", std::string(100 + i, 'v'));
    qztest::MakeDirectories(target);
    std::vector<std::string> order;
    win::DirectorySearch search(source + "\\*.vox");
    for (win::FoundEntry entry; search.Next(entry);)
        order.push_back(entry.name);
    ASSERT_EQ(order.size(), static_cast<std::size_t>(kFiles));

    // Copy 20 fails; hashes 7, 40 and the last fail: 40 is the 41st file,
    // the copy of the 20th never reaching its hash.
    const std::set<int> red = {7, 20, 41, kFiles};
    SavedFiles saved(keepset);
    win::ResetCalls();
    win::FailCall(win::Op::FileCopy, 20, ERROR_SHARING_VIOLATION);
    win::FailCall(win::Op::FileHash, 7, ERROR_LOCK_VIOLATION);
    win::FailCall(win::Op::FileHash, 40, ERROR_LOCK_VIOLATION);
    win::FailCall(win::Op::FileHash, kFiles - 1, ERROR_LOCK_VIOLATION);
    // As in a save run, the loop runs on a thread of its own; this one
    // handles the window's messages meanwhile.
    std::atomic<int> result{-1};
    std::thread run([&] {
        SavedFilesScope collecting(saved);
        result = CopyFilesByPattern(source + "\\*.vox", source, target);
    });
    EXPECT_TRUE(qztest::PumpUntil([&] { return result != -1; }));
    run.join();
    win::ResetCalls();
    EXPECT_EQ(result, 1);

    std::vector<std::string> lines;
    std::vector<std::string> listed;
    for (int i = 1; i <= kFiles; ++i) {
        const std::string& name = order[i - 1];
        const std::string from = source + "\\" + name;
        const std::string to = target + "\\" + name;
        lines.push_back(red.count(i) ? Failed(from, to) : Saved(from, to));
        if (!red.count(i))
            listed.push_back("dst\\" + name);
    }
    std::vector<std::string> shown;
    for (const ReceivedReport& report : window_.Reports()) {
        shown.push_back(report.text);
        EXPECT_EQ(report.wParam, report.text.rfind("FAILED", 0) == 0 ? 1u : 0u) << report.text;
    }
    EXPECT_EQ(shown, lines);
    std::vector<std::string> logged = LogTexts();
    for (std::string& line : logged)
        line = line.substr(0, line.find(" File attribute: "));
    EXPECT_EQ(logged, lines);
    std::vector<std::string> inManifest;
    for (const ManifestEntry& entry : saved.Entries())
        inManifest.push_back(entry.path);
    EXPECT_EQ(inManifest, listed);
}

TEST_F(CopyFilesByPattern_, ReadOnlyTargetIsMadeWritableAndReplaced)
{
    const std::string source = folder_ / "src";
    const std::string target = folder_ / "dst";
    qztest::WriteFileText(source + "\\qzt.ini", "new");
    qztest::WriteFileText(target + "\\qzt.ini", "old");
    qztest::SetAttributes(target + "\\qzt.ini", FILE_ATTRIBUTE_READONLY);
    // On Windows the copy over a read-only file is refused; Wine run as root
    // copies over it anyway, so the refusal is made here: the target is then
    // made writable and the copy tried once more.
    win::ResetCalls();
    win::FailCall(win::Op::FileCopy, 1, ERROR_ACCESS_DENIED);

    EXPECT_EQ(CopyFilesByPattern(source + "\\*.ini", source, target), 0);
    EXPECT_EQ(qztest::ReadFileText(target + "\\qzt.ini"), "new");
    EXPECT_EQ(win::CallCount(win::Op::FileCopy), 2u);
    EXPECT_EQ(win::CallCount(win::Op::SetAttributes), 1u);
    ASSERT_EQ(window_.Reports().size(), 1u);
    EXPECT_EQ(window_.Reports()[0].wParam, 0u);

    // When the second copy fails too, the target stays writable and unchanged.
    qztest::WriteFileText(source + "\\qzt.ini", "newer");
    qztest::SetAttributes(target + "\\qzt.ini", FILE_ATTRIBUTE_READONLY);
    win::FailCall(win::Op::FileCopy, 1, ERROR_ACCESS_DENIED);
    win::FailCall(win::Op::FileCopy, 2, ERROR_ACCESS_DENIED);
    EXPECT_EQ(CopyFilesByPattern(source + "\\*.ini", source, target), 1);
    EXPECT_EQ(win::FileAttributes(target + "\\qzt.ini") & win::kAttributeReadOnly, 0u);
    EXPECT_EQ(qztest::ReadFileText(target + "\\qzt.ini"), "new");
}

TEST_F(CopyFilesByPattern_, NewTargetsAreNotLookedUpBeforeTheirCopy)
{
    qztest::WriteFileText(folder_ / "src\\a.txt", "a");
    qztest::WriteFileText(folder_ / "src\\b.txt", "b");
    qztest::MakeDirectories(folder_ / "dst");
    win::ResetCalls();
    EXPECT_EQ(CopyFilesByPattern(folder_ / "src\\*.txt", folder_ / "src", folder_ / "dst"), 0);
    EXPECT_EQ(win::CallCount(win::Op::GetAttributes), 0u);
}

TEST_F(CopyFilesByPattern_, PatternWithoutMatchIsNoFailureAndReportsNothing)
{
    qztest::WriteFileText(folder_ / "src\\a.txt", "a");
    EXPECT_EQ(CopyFilesByPattern(folder_ / "src\\*.vox", folder_ / "src", folder_ / "dst"), 0);
    EXPECT_EQ(CopyFilesByPattern(folder_ / "missing\\*.*", folder_ / "missing", folder_ / "dst"), 0);
    EXPECT_TRUE(window_.Reports().empty());
    EXPECT_TRUE(LogTexts().empty());
}

// A search the system breaks off leaves files out: a red line and the
// failure result, after the files found before it.
TEST_F(CopyFilesByPattern_, ASearchThatCannotReadTheDirectoryIsAFailure)
{
    qztest::WriteFileText(folder_ / "src\\a.txt", "a");
    qztest::WriteFileText(folder_ / "src\\b.txt", "b");
    qztest::MakeDirectories(folder_ / "dst");
    win::ResetCalls();
    win::FailCall(win::Op::FindNext, 1, ERROR_NETNAME_DELETED);
    EXPECT_EQ(CopyFilesByPattern(folder_ / "src\\*.txt", folder_ / "src", folder_ / "dst"), 1);
    win::ResetCalls();
    EXPECT_EQ(window_.Texts(0).size(), 1u);
    const std::string failed = "FAILED to save the files of " + (folder_ / "src") +
                               ": the directory cannot be read (error 64) !";
    EXPECT_EQ(window_.Texts(1), std::vector<std::string>{failed});
    EXPECT_EQ(LogTexts().back(), failed);
}

TEST_F(CopyFilesByPattern_, TargetPathBeyond511CharactersIsReportedNotCopiedElsewhere)
{
    const std::string source = folder_ / "src";
    qztest::WriteFileText(source + "\\a.txt", "a");
    // 505 characters + "\a.txt" = 511 fits; one more does not.
    const std::string fits = "C:\\" + std::string(502, 'x');
    const std::string tooLong = fits + "y";
    win::ResetCalls();

    CopyFilesByPattern(source + "\\*.txt", source, fits);
    EXPECT_EQ(win::CallCount(win::Op::FileCopy), 1u);
    EXPECT_EQ(CopyFilesByPattern(source + "\\*.txt", source, tooLong), 1);
    EXPECT_EQ(win::CallCount(win::Op::FileCopy), 1u);
    EXPECT_EQ(window_.Texts(1).back(), Failed(source + "\\a.txt", tooLong + "\\a.txt"));
}

// In a save run each file is hashed as it is copied, and read once: the
// manifest lists the digests of the bytes in the keepset, and a failure in
// the middle of a large file leaves a red line and neither the cut copy nor
// its entry.
TEST_F(CopyFilesByPattern_, InASaveRunCopiesAreHashedOnTheWayAndACutLargeCopyLeavesNothing)
{
    const std::string keepset = folder_ / "keep";
    const std::string source = folder_ / "src";
    const std::string target = keepset + "\\dst";
    std::string large(3 * win::kCopyChunkBytes + 9, 'l');
    large[win::kCopyChunkBytes + 5] = 'x';
    qztest::WriteFileText(source + "\\big.vox", large);
    qztest::WriteFileText(source + "\\small.vox", "small");
    qztest::MakeDirectories(target);
    // Both copies on one thread, as in a save run: the collection's
    // reporting thread belongs to the thread that started it.
    SavedFiles saved(keepset);
    int clean = -1;
    unsigned long chunks = 0;
    unsigned long hashes = 0;
    std::vector<ManifestEntry> entries;
    std::atomic<int> cut{-1};
    std::thread run([&] {
        SavedFilesScope collecting(saved);
        win::ResetCalls();
        clean = CopyFilesByPattern(source + "\\*.vox", source, target);
        chunks = win::CallCount(win::Op::FileCopyChunk);
        hashes = win::CallCount(win::Op::FileHash);
        entries = saved.Entries();
        win::ResetCalls();
        win::FailCall(win::Op::FileCopyChunk, 3, ERROR_DISK_FULL);
        cut = CopyFilesByPattern(source + "\\big.vox", source, target);
    });
    EXPECT_TRUE(qztest::PumpUntil([&] { return cut != -1; }));
    run.join();
    win::ResetCalls();

    EXPECT_EQ(clean, 0);
    // Four chunks of the large file, the last one short, which ends the
    // copy; one for the small file; one hash each, and no read-back.
    EXPECT_EQ(chunks, 5u);
    EXPECT_EQ(hashes, 2u);
    ASSERT_EQ(entries.size(), 2u);
    for (const ManifestEntry& entry : entries) {
        std::string digest;
        std::uint64_t size = 0;
        if (entry.path == "dst\\big.vox") {
            win::Sha256 own;
            own.Add(reinterpret_cast<const unsigned char*>(large.data()), large.size());
            digest = win::Sha256Hex(own.Finish());
            size = large.size();
        } else {
            ASSERT_TRUE(win::FileSha256(keepset + "\\" + entry.path, digest, size));
        }
        EXPECT_EQ(entry.sha256, digest) << entry.path;
        EXPECT_EQ(entry.size, size) << entry.path;
    }

    EXPECT_EQ(cut, 1);
    EXPECT_FALSE(qztest::Exists(target + "\\big.vox"));
    entries = saved.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].path, "dst\\small.vox");
    EXPECT_EQ(window_.Reports().back().text, Failed(source + "\\big.vox", target + "\\big.vox"));
}
