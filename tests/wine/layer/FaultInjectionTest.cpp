// The thin layer counts its calls and fails the one a test names.
#include "support/FaultSweep.h"
#include "support/WineHost.h"
#include "win/CallCounter.h"
#include "win/FileHash.h"
#include "win/Profile.h"
#include "win/Files.h"
#include "win/NewFiles.h"
#include "win/SharedMutex.h"
#include "win/EventLog.h"
#include "win/TextLines.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>

TEST(FaultInjection, FailsExactlyTheNamedCallWithItsErrorCode)
{
    qztest::ScratchFolder folder("fault");
    qztest::WriteFileText(folder / "a.txt", "a");
    win::ResetCalls();
    win::FailCall(win::Op::FileCopy, 2, ERROR_DISK_FULL);

    EXPECT_TRUE(win::CopyFileReplacing(folder / "a.txt", folder / "b.txt"));
    EXPECT_FALSE(win::CopyFileReplacing(folder / "a.txt", folder / "c.txt"));
    EXPECT_EQ(win::LastError(), static_cast<unsigned long>(ERROR_DISK_FULL));
    EXPECT_FALSE(qztest::Exists(folder / "c.txt"));
    EXPECT_TRUE(win::CopyFileReplacing(folder / "a.txt", folder / "d.txt"));
    EXPECT_EQ(win::CallCount(win::Op::FileCopy), 3u);
    win::ResetCalls();
}

TEST(DirectorySearch, ReportsAttributesAsWholeValues)
{
    qztest::ScratchFolder folder("search");
    qztest::MakeDirectories(folder / "plain");
    qztest::MakeDirectories(folder / "hidden");
    qztest::SetAttributes(folder / "hidden", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    qztest::WriteFileText(folder / "ro.txt", "x");
    qztest::SetAttributes(folder / "ro.txt", FILE_ATTRIBUTE_READONLY);

    std::map<std::string, unsigned long> seen;
    win::DirectorySearch search(folder / "*.*");
    win::FoundEntry entry;
    while (search.Next(entry))
        seen[entry.name] = entry.attributes;
    EXPECT_EQ(seen["plain"], 16u);
    EXPECT_EQ(seen["hidden"], 18u);
    EXPECT_EQ(seen["ro.txt"], 33u);
    qztest::SetAttributes(folder / "ro.txt", FILE_ATTRIBUTE_NORMAL);
}

// Nothing there and nothing more are no failure; an error the system gives
// on the way is, and so is an entry it could not look at.
TEST(DirectorySearch, TellsAFailureFromNothingFound)
{
    qztest::ScratchFolder folder("searchfail");
    qztest::WriteFileText(folder / "a.txt", "a");
    qztest::WriteFileText(folder / "b.txt", "b");
    const struct {
        std::string pattern;
        win::Op failing;
        unsigned long error;
        std::size_t found;
        unsigned long failure;
    } cases[] = {
        {folder / "*.txt", win::Op::Count, 0, 2, 0},
        {folder / "*.vox", win::Op::Count, 0, 0, 0},
        {folder / "missing\\*.*", win::Op::Count, 0, 0, 0},
        {folder / "*.txt", win::Op::FindFirst, ERROR_ACCESS_DENIED, 0, ERROR_ACCESS_DENIED},
        {folder / "*.txt", win::Op::FindNext, ERROR_NETNAME_DELETED, 1, ERROR_NETNAME_DELETED},
        {folder / "*.txt", win::Op::FindNext, ERROR_NO_MORE_FILES, 1, 0},
    };
    for (const auto& c : cases) {
        win::ResetCalls();
        if (c.failing != win::Op::Count)
            win::FailCall(c.failing, 1, c.error);
        win::DirectorySearch search(c.pattern);
        win::FoundEntry entry;
        std::size_t found = 0;
        while (search.Next(entry))
            ++found;
        EXPECT_EQ(found, c.found) << c.pattern << " " << c.error;
        EXPECT_EQ(search.Failed(), c.failure != 0) << c.pattern << " " << c.error;
        EXPECT_EQ(search.Error(), c.failure) << c.pattern << " " << c.error;
    }
    win::FailCall(win::Op::Access, 1, ERROR_ACCESS_DENIED);
    EXPECT_FALSE(win::EntryExists(folder / "a.txt"));
    EXPECT_FALSE(win::LastErrorIsNotFound());
    EXPECT_FALSE(win::EntryExists(folder / "missing\\a.txt"));
    EXPECT_TRUE(win::LastErrorIsNotFound());
    EXPECT_TRUE(win::EntryExists(folder / "a.txt"));
    win::ResetCalls();
}

// The whole-file calls a keepset's manifest rests on: hashing, reading,
// writing and replacing in one step, each failable like every other call.
TEST(WholeFiles, HashReadWriteAndReplace)
{
    qztest::ScratchFolder folder("whole");
    win::ResetCalls();
    ASSERT_TRUE(win::WriteWholeFile(folder / "abc.txt", "abc"));
    std::string digest;
    std::uint64_t size = 0;
    ASSERT_TRUE(win::FileSha256(folder / "abc.txt", digest, size));
    EXPECT_EQ(digest, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(size, 3u);
    ASSERT_TRUE(win::WriteWholeFile(folder / "empty.txt", ""));
    ASSERT_TRUE(win::FileSha256(folder / "empty.txt", digest, size));
    EXPECT_EQ(digest, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_FALSE(win::FileSha256(folder / "missing.txt", digest, size));
    EXPECT_TRUE(digest.empty());

    ASSERT_TRUE(win::WriteWholeFile(folder / "new.txt", std::string(200000, 'n')));
    ASSERT_TRUE(win::MoveReplacing(folder / "new.txt", folder / "abc.txt"));
    std::string content;
    ASSERT_TRUE(win::ReadWholeFile(folder / "abc.txt", content));
    EXPECT_EQ(content, std::string(200000, 'n'));
    EXPECT_FALSE(qztest::Exists(folder / "new.txt"));
    ASSERT_TRUE(win::FileSize(folder / "abc.txt", size));
    EXPECT_EQ(size, 200000u);
    EXPECT_FALSE(win::FileSize(folder.Path(), size));

    // Lines one at a time: CR LF keeps its CR, the last line needs no end.
    ASSERT_TRUE(win::WriteWholeFile(folder / "lines.txt", "one\r\n\ntwo"));
    std::vector<std::string> lines;
    // Each visit reads another file, as a check hashes each listed file.
    EXPECT_TRUE(win::ReadFileLines(folder / "lines.txt", [&](const std::string& line) {
        lines.push_back(line);
        std::string other;
        return win::ReadWholeFile(folder / "abc.txt", other);
    }));
    EXPECT_EQ(lines, (std::vector<std::string>{"one\r", "", "two"}));
    EXPECT_FALSE(win::ReadFileLines(folder / "lines.txt", [](const std::string&) { return false; }));
    EXPECT_FALSE(win::ReadFileLines(folder / "none.txt", [](const std::string&) { return true; }));
    EXPECT_TRUE(win::LastErrorIsNotFound());

    struct Call {
        win::Op op;
        bool (*run)(const qztest::ScratchFolder&);
    };
    const Call calls[] = {
        {win::Op::FileHash, [](const qztest::ScratchFolder& f) { std::string d; std::uint64_t n; return win::FileSha256(f / "abc.txt", d, n); }},
        {win::Op::FileRead, [](const qztest::ScratchFolder& f) { std::string c; return win::ReadWholeFile(f / "abc.txt", c); }},
        {win::Op::FileWrite, [](const qztest::ScratchFolder& f) { return win::WriteWholeFile(f / "w.txt", "w"); }},
        {win::Op::FileMove, [](const qztest::ScratchFolder& f) { return win::MoveReplacing(f / "abc.txt", f / "m.txt"); }},
        {win::Op::FileWrite, [](const qztest::ScratchFolder& f) { return win::FlushFileToDisk(f / "abc.txt"); }},
        {win::Op::ProfileRead, [](const qztest::ScratchFolder& f) { std::vector<std::string> n; return win::ReadProfileSectionNames(f / "abc.txt", n); }},
        {win::Op::DirectoryRemove, [](const qztest::ScratchFolder& f) { return win::RemoveEmptyDirectory(f / "d"); }},
        {win::Op::FileRead, [](const qztest::ScratchFolder& f) { return win::ReadFileLines(f / "abc.txt", [](const std::string&) { return true; }); }},
        {win::Op::EventReport, [](const qztest::ScratchFolder&) { return win::WriteEvent(win::EventType::Warning, 2004, {"k"}); }},
    };
    ASSERT_TRUE(win::CreateOneDirectory(folder / "d"));
    ASSERT_TRUE(win::CreateOneDirectory(folder / "d\\inner"));
    EXPECT_FALSE(win::RemoveEmptyDirectory(folder / "d"));  // not empty
    ASSERT_TRUE(win::RemoveEmptyDirectory(folder / "d\\inner"));
    for (const Call& call : calls) {
        win::ResetCalls();
        win::FailCall(call.op, 1, ERROR_DISK_FULL);
        EXPECT_FALSE(call.run(folder));
        EXPECT_EQ(win::LastError(), static_cast<unsigned long>(ERROR_DISK_FULL));
        EXPECT_TRUE(qztest::Exists(folder / "abc.txt"));
    }
    EXPECT_TRUE(win::RemoveEmptyDirectory(folder / "d"));
    EXPECT_FALSE(qztest::Exists(folder / "d"));
    win::ResetCalls();
}

// A torn write or copy leaves part of the data where the whole call would
// have put it all, then fails; a torn new file is not left behind. (The
// names of new files and the replace are tried through the record's
// updates, the torn calls again in the save sweep.)
TEST(WholeFiles, TornCallsWritePartOfTheirDataAndFail)
{
    qztest::ScratchFolder folder("torn");
    qztest::WriteFileText(folder / "source.txt", "0123456789");
    win::ResetCalls();
    win::FailCallTorn(win::Op::FileCopy, 1, ERROR_DISK_FULL);
    win::FailCallTorn(win::Op::FileWrite, 1, ERROR_DISK_FULL);
    win::FailCallTorn(win::Op::FileWrite, 2, ERROR_DISK_FULL);
    EXPECT_FALSE(win::CopyFileReplacing(folder / "source.txt", folder / "copy.txt"));
    EXPECT_EQ(win::LastError(), static_cast<unsigned long>(ERROR_DISK_FULL));
    EXPECT_EQ(qztest::ReadFileText(folder / "copy.txt"), "01234");
    EXPECT_FALSE(win::WriteWholeFile(folder / "whole.txt", "abcdef"));
    EXPECT_EQ(win::LastError(), static_cast<unsigned long>(ERROR_DISK_FULL));
    EXPECT_EQ(qztest::ReadFileText(folder / "whole.txt"), "abc");
    std::string created;
    EXPECT_FALSE(win::WriteNewFileBeside(folder / "target.txt", "abcdef", created));
    EXPECT_EQ(win::LastError(), static_cast<unsigned long>(ERROR_DISK_FULL));
    EXPECT_TRUE(created.empty());
    EXPECT_EQ(qztest::TemporaryFilesIn(folder.Path()), std::vector<std::string>{});
    win::ResetCalls();
}
