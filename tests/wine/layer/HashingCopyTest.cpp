// The copy that hashes what it writes: the bytes, time and attributes of
// the system's copy, the digest of our own and of the system agreeing, and
// no cut copy left behind whichever of its calls fails.
#include "support/WineHost.h"
#include "win/CallCounter.h"
#include "win/FileHash.h"
#include "win/Files.h"
#include "win/HashingCopy.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <random>

namespace {

std::string RandomBytes(std::size_t length, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(length, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

std::string DigestOf(win::HashImplementation implementation, const std::string& bytes)
{
    win::Sha256Hasher hasher(implementation);
    std::string digest;
    EXPECT_TRUE(hasher.Add(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
    EXPECT_TRUE(hasher.Finish(digest));
    return digest;
}

WIN32_FILE_ATTRIBUTE_DATA Look(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    EXPECT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) << path;
    return data;
}

constexpr std::size_t kChunk = win::kCopyChunkBytes;

}  // namespace

// Sizes around the chunk (one chunk is hashed on the copying thread, more
// on a second one) and an old, hidden, read-only source.
TEST(HashingCopy, CopiesBytesTimeAndAttributesAndHashesThem)
{
    qztest::ScratchFolder folder("hashcopy");
    const std::size_t sizes[] = {0, 1, kChunk - 1, kChunk, kChunk + 1, 5 * kChunk / 2 + 17, 9 * kChunk + 3};
    unsigned seed = 1;
    for (std::size_t size : sizes) {
        const std::string source = folder / ("s" + std::to_string(size));
        const std::string target = folder / ("t" + std::to_string(size));
        const std::string bytes = RandomBytes(size, seed++);
        qztest::WriteFileText(source, bytes);
        qztest::WriteFileText(target, "an earlier save's copy, longer than the one-byte file");
        HANDLE file = CreateFileA(source.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        const FILETIME old = {0x12345600u, 0x01c00000u};
        ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &old));
        CloseHandle(file);
        if (size == 1)
            qztest::SetAttributes(source, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);

        std::string digest;
        std::uint64_t copied = 0;
        ASSERT_TRUE(win::CopyFileHashing(source, target, digest, copied)) << size;
        EXPECT_EQ(qztest::ReadFileText(target) == bytes, true) << size;
        EXPECT_EQ(copied, size);
        EXPECT_EQ(digest, DigestOf(win::HashImplementation::OwnPortable, bytes)) << size;
        const WIN32_FILE_ATTRIBUTE_DATA from = Look(source);
        const WIN32_FILE_ATTRIBUTE_DATA to = Look(target);
        EXPECT_EQ(CompareFileTime(&from.ftLastWriteTime, &to.ftLastWriteTime), 0) << size;
        const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY;
        EXPECT_EQ(to.dwFileAttributes & kept, from.dwFileAttributes & kept) << size;
        qztest::SetAttributes(source, FILE_ATTRIBUTE_NORMAL);
        qztest::SetAttributes(target, FILE_ATTRIBUTE_NORMAL);
    }
    // What the system's copy refuses, this one refuses: a missing source
    // (the target stays as it was) and a directory.
    qztest::WriteFileText(folder / "kept", "kept");
    std::string digest;
    std::uint64_t copied = 0;
    EXPECT_FALSE(win::CopyFileHashing(folder / "missing", folder / "kept", digest, copied));
    EXPECT_TRUE(win::LastErrorIsNotFound());
    EXPECT_EQ(qztest::ReadFileText(folder / "kept"), "kept");
    qztest::MakeDirectories(folder / "dir");
    EXPECT_FALSE(win::CopyFileHashing(folder / "dir", folder / "fromdir", digest, copied));
    EXPECT_FALSE(qztest::Exists(folder / "fromdir"));
    EXPECT_TRUE(digest.empty());
}

// Our own engines and the system's service give the same digests, pieces
// crossing block boundaries included; the program's choice is the fastest
// there is here.
TEST(HashingCopy, OwnAndSystemHashesAgree)
{
    const std::string bytes = RandomBytes(3 * 65536 + 77, 7);
    const std::string expected = DigestOf(win::HashImplementation::System, bytes);
    for (auto implementation : {win::HashImplementation::OwnWithInstructions, win::HashImplementation::OwnPortable}) {
        win::Sha256Hasher hasher(implementation);
        for (std::size_t at = 0, piece = 1; at < bytes.size(); at += piece, piece = piece * 3 % 1000 + 1)
            hasher.Add(reinterpret_cast<const unsigned char*>(bytes.data()) + at, std::min(piece, bytes.size() - at));
        std::string digest;
        ASSERT_TRUE(hasher.Finish(digest));
        EXPECT_EQ(digest, expected) << win::HashImplementationName(hasher.Implementation());
    }
    EXPECT_EQ(win::ChosenHashImplementation(), win::ProcessorHasSha256Instructions()
                                                   ? win::HashImplementation::OwnWithInstructions
                                                   : win::HashImplementation::System);
}

// Every call of a copy of several chunks made to fail in turn: at the
// start, in the middle of the file, or when the hash is done. The copy
// fails with that error and no target is left, not even the earlier one it
// replaced; the source stays whole.
TEST(HashingCopy, AFailureAnywhereLeavesNoCutCopy)
{
    qztest::ScratchFolder folder("hashcopyfail");
    const std::string bytes = RandomBytes(3 * kChunk + 5, 3);
    qztest::WriteFileText(folder / "source", bytes);
    std::string digest;
    std::uint64_t copied = 0;
    win::ResetCalls();
    ASSERT_TRUE(win::CopyFileHashing(folder / "source", folder / "target", digest, copied));
    EXPECT_EQ(win::CallCount(win::Op::FileCopy), 1u);
    EXPECT_EQ(win::CallCount(win::Op::FileCopyChunk), 4u);  // the last one short: the end
    EXPECT_EQ(win::CallCount(win::Op::FileHash), 1u);
    for (win::Op op : {win::Op::FileCopy, win::Op::FileCopyChunk, win::Op::FileHash}) {
        for (unsigned long n = 1; n <= (op == win::Op::FileCopyChunk ? 4u : 1u); ++n) {
            qztest::WriteFileText(folder / "target", "earlier");
            win::ResetCalls();
            win::FailCall(op, n, ERROR_DISK_FULL);
            EXPECT_FALSE(win::CopyFileHashing(folder / "source", folder / "target", digest, copied));
            EXPECT_EQ(win::LastError(), static_cast<unsigned long>(ERROR_DISK_FULL));
            EXPECT_TRUE(digest.empty());
            // A failure before the target is opened leaves the earlier copy.
            if (op == win::Op::FileCopy)
                EXPECT_EQ(qztest::ReadFileText(folder / "target"), "earlier");
            else
                EXPECT_FALSE(qztest::Exists(folder / "target")) << static_cast<int>(op) << " " << n;
            EXPECT_TRUE(qztest::ReadFileText(folder / "source") == bytes);
        }
    }
    win::ResetCalls();
}

// The create-new copy never opens a name that exists: the file there stays
// as it was. A failure armed torn leaves the first half of the source in a
// new file, as a power cut does.
TEST(HashingCopy, ToNewRefusesAnExistingNameAndCanBeCut)
{
    qztest::ScratchFolder folder("hashcopynew");
    const std::string bytes = RandomBytes(2 * kChunk + 9, 5);
    qztest::WriteFileText(folder / "source", bytes);
    qztest::WriteFileText(folder / "taken", "taken");
    std::string digest;
    std::uint64_t copied = 0;
    EXPECT_FALSE(win::CopyFileHashingToNew(folder / "source", folder / "taken", digest, copied));
    EXPECT_EQ(win::LastError(), static_cast<unsigned long>(ERROR_FILE_EXISTS));
    EXPECT_EQ(qztest::ReadFileText(folder / "taken"), "taken");
    ASSERT_TRUE(win::CopyFileHashingToNew(folder / "source", folder / "new", digest, copied));
    EXPECT_TRUE(qztest::ReadFileText(folder / "new") == bytes);
    EXPECT_EQ(digest, DigestOf(win::HashImplementation::OwnPortable, bytes));
    win::ResetCalls();
    win::FailCallTorn(win::Op::FileCopy, 1, ERROR_DISK_FULL);
    EXPECT_FALSE(win::CopyFileHashingToNew(folder / "source", folder / "cut", digest, copied));
    EXPECT_EQ(win::LastError(), static_cast<unsigned long>(ERROR_DISK_FULL));
    EXPECT_TRUE(qztest::ReadFileText(folder / "cut") == bytes.substr(0, bytes.size() / 2));
    EXPECT_TRUE(digest.empty());
    win::ResetCalls();
}

// The copy that replaces: the destination ends either as it was, with no
// temporary file left, or as the whole checked copy of a read-only source,
// with the source's time; whichever call fails.
TEST(HashingCopy, ReplacingLeavesTheDestinationOldOrTheCheckedCopy)
{
    qztest::ScratchFolder folder("hashcopyreplace");
    const std::string bytes = RandomBytes(2 * kChunk + 3, 9);
    qztest::WriteFileText(folder / "source", bytes);
    qztest::SetAttributes(folder / "source", FILE_ATTRIBUTE_READONLY);
    const std::string right = DigestOf(win::HashImplementation::OwnPortable, bytes);
    std::string digest;
    std::uint64_t copied = 0;
    struct Case {
        const char* what;
        std::string expected;
        win::Op failing;
        unsigned long nth;
        win::CopyOutcome outcome;
    };
    const Case cases[] = {
        {"a hash that is not the manifest's", std::string(64, '0'), win::Op::Count, 0, win::CopyOutcome::NotExpected},
        {"the copy's start", right, win::Op::FileCopy, 1, win::CopyOutcome::CopyFailed},
        {"a chunk", right, win::Op::FileCopyChunk, 2, win::CopyOutcome::CopyFailed},
        {"the move", right, win::Op::FileMove, 1, win::CopyOutcome::NotReplaced},
        {"nothing", right, win::Op::Count, 0, win::CopyOutcome::Replaced},
    };
    for (const Case& c : cases) {
        qztest::WriteFileText(folder / "live", "live");
        win::ResetCalls();
        if (c.failing != win::Op::Count)
            win::FailCall(c.failing, c.nth, ERROR_DISK_FULL);
        EXPECT_EQ(win::CopyHashingAndReplace(folder / "source", folder / "1.tmp", folder / "live", c.expected, digest,
                                             copied),
                  c.outcome)
            << c.what;
        EXPECT_FALSE(qztest::Exists(folder / "1.tmp")) << c.what;
        qztest::SetAttributes(folder / "live", FILE_ATTRIBUTE_NORMAL);
        if (c.outcome == win::CopyOutcome::Replaced) {
            EXPECT_TRUE(qztest::ReadFileText(folder / "live") == bytes);
            EXPECT_EQ(digest, right);
            const WIN32_FILE_ATTRIBUTE_DATA from = Look(folder / "source");
            const WIN32_FILE_ATTRIBUTE_DATA to = Look(folder / "live");
            EXPECT_EQ(CompareFileTime(&from.ftLastWriteTime, &to.ftLastWriteTime), 0);
        } else {
            EXPECT_TRUE(qztest::ReadFileText(folder / "live") == "live") << c.what;
        }
    }
    win::ResetCalls();
    qztest::SetAttributes(folder / "source", FILE_ATTRIBUTE_NORMAL);
}
