// Checking keepsets with "qzkeepset.exe /verify [DIR]" as a scheduler runs
// it: no window, the run log names every failure, the exit status says the
// worst. Beside it, in this process: the event each run leaves for the
// Application log (Wine keeps no Event Log, so the layer's record of it is
// what is checked), and the texts and the manifest the program file holds.
#include "Installation.h"

#include "keepset/EventText.h"
#include "keepset/HashesInOrder.h"
#include "keepset/RunEvents.h"
#include "keepset/VerifyKeepset.h"
#include "keepset/ManifestFormat.h"
#include "win/CallCounter.h"
#include "win/EventLog.h"
#include "win/FileHash.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>

using e2e::Installation;

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM found)
{
    auto* wanted = reinterpret_cast<std::pair<DWORD, bool>*>(found);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == wanted->first && IsWindowVisible(window))
        wanted->second = true;
    return TRUE;
}

class Verify : public Installation {
protected:
    void Save(const std::string& directory)
    {
        StartProgram({directory});
        ASSERT_EQ(WaitForExit(), 0u) << directory;
        // Its event was handed to the system (Wine keeps none, but takes it).
        const auto log = RunLog();
        EXPECT_EQ(std::count_if(log.begin(), log.end(),
                                [](const std::string& line) { return line.find("to write event") != std::string::npos; }),
                  0);
    }

    // Runs the program to its end, watching that it shows no window; the
    // run-log lines it added are kept in lines_ (lower case).
    DWORD RunToEnd(const std::vector<std::string>& arguments)
    {
        const std::size_t before = RunLog().size();
        StartProgram(arguments);
        std::pair<DWORD, bool> window{program_.Id(), false};
        DWORD status = 99;
        const DWORD start = GetTickCount();
        while (!program_.WaitForExit(status, 20)) {
            EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&window));
            if (GetTickCount() - start > 90000) {
                ADD_FAILURE() << "the program did not end";
                program_.Kill();
                break;
            }
        }
        EXPECT_FALSE(window.second) << "a window was shown";
        const auto log = RunLog();
        lines_.clear();
        for (std::size_t i = before; i < log.size(); ++i)
            lines_.push_back(Lower(log[i]));
        return status;
    }

    std::size_t Logged(const std::string& text) const
    {
        return static_cast<std::size_t>(std::count_if(lines_.begin(), lines_.end(), [&](const std::string& line) {
            return line.find(Lower(text)) != std::string::npos;
        }));
    }
    std::vector<std::string> Started() const
    {
        std::vector<std::string> keepsets;
        for (const std::string& line : lines_)
            if (line.find("verify keepset ") != std::string::npos)
                keepsets.push_back(line.substr(line.find("verify keepset ") + 15));
        return keepsets;
    }
    std::string Outcome() const { return lines_.empty() ? std::string() : lines_.back(); }
    std::string AllLines() const
    {
        std::string all;
        for (const std::string& line : lines_)
            all += line + "\n";
        return all;
    }

    std::vector<std::string> lines_;
};

}  // namespace

TEST_F(Verify, ASavedKeepsetIsWholeUntilOneByteChangesOrAFileGoes)
{
    const std::string given = Root() + "\\keep\\YYYY-MM-DD";
    Save(given);
    const std::string keepset = Root() + "\\keep\\" + e2e::Today("%04u-%02u-%02u");
    qztest::WriteFileText(keepset + "\\db1\\stranger.txt", "not saved");

    // The date pattern is expanded as the save expanded it; a file the
    // save did not write is reported, not failed.
    EXPECT_EQ(RunToEnd({"/verify", given}), 0u);
    EXPECT_EQ(Started(), std::vector<std::string>{Lower(keepset)});
    EXPECT_EQ(Logged("Not in the manifest: " + keepset + "\\db1\\stranger.txt"), 1u);
    EXPECT_EQ(Logged("FAILED"), 0u);
    EXPECT_EQ(Logged(" whole, 0 missing, 0 changed, 0 unreadable, 0 lines not understood, 1 not listed"), 1u);
    EXPECT_NE(Outcome().find("verify ended with status 0"), std::string::npos) << Outcome();

    std::string content = qztest::ReadFileText(keepset + "\\db1\\vm001.dbf");
    ASSERT_FALSE(content.empty());
    content[3] = static_cast<char>(content[3] ^ 0x01);
    qztest::WriteFileText(keepset + "\\db1\\vm001.dbf", content);
    EXPECT_EQ(RunToEnd({"-VERIFY", keepset}), 1u);
    EXPECT_EQ(Logged("FAILED, changed: " + keepset + "\\db1\\vm001.dbf"), 1u);
    EXPECT_EQ(Logged("FAILED"), 1u);
    EXPECT_NE(Outcome().find("verify ended with status 1"), std::string::npos) << Outcome();

    ASSERT_TRUE(DeleteFileA((keepset + "\\dbv1\\mail.eml").c_str()));
    EXPECT_EQ(RunToEnd({keepset, "/Verify"}), 1u);
    EXPECT_EQ(Logged("FAILED, missing: " + keepset + "\\dbv1\\mail.eml"), 1u);
    EXPECT_EQ(Logged("FAILED"), 2u);
}

TEST_F(Verify, NothingToVerifyIsStatus4AndTheListGivesTheWorstNewestFirst)
{
    qztest::MakeDirectories(Root() + "\\empty");
    EXPECT_EQ(RunToEnd({"/verify", Root() + "\\empty"}), 4u);
    EXPECT_EQ(Logged("Nothing to verify in " + Root() + "\\empty: it has no keepset record"), 1u);
    EXPECT_EQ(RunToEnd({"/verify", Root() + "\\gone"}), 4u);
    EXPECT_EQ(Logged("the directory is missing or cannot be read"), 1u);
    EXPECT_EQ(RunToEnd({"/verify"}), 4u);
    EXPECT_EQ(Logged("no keepset of the list exists"), 1u);

    const std::string older = Root() + "\\keepA";
    const std::string newer = Root() + "\\keepB";
    Save(older);
    Save(newer);
    // Saved in the same second, perhaps: the list's dates decide the order.
    WritePrivateProfileStringA("Save1", "Date", "01.01.2020", "qzkeepset.ini");
    WritePrivateProfileStringA("Save3", "Path", (Root() + "\\gone").c_str(), "qzkeepset.ini");
    EXPECT_EQ(RunToEnd({"/verify"}), 0u) << AllLines();
    EXPECT_EQ(Started(), (std::vector<std::string>{Lower(newer), Lower(older)}));
    EXPECT_EQ(Logged("Listed keepset not there, not verified: " + Root() + "\\gone"), 1u);
    EXPECT_NE(Outcome().find("status 0: 2 keepsets whole"), std::string::npos) << Outcome();

    // One keepset without its manifest: nothing to verify beats whole.
    ASSERT_TRUE(DeleteFileA((newer + "\\qzkeepset.sha256").c_str()));
    EXPECT_EQ(RunToEnd({"/verify"}), 4u);
    // A save that ended with errors beats both.
    WritePrivateProfileStringA("Save", "State", "errors", (older + "\\qzkeepset.inf").c_str());
    EXPECT_EQ(RunToEnd({"/verify"}), 1u);
    EXPECT_EQ(Logged("did not end complete (State=errors)"), 1u);
    EXPECT_EQ(Started().size(), 2u);
}

TEST_F(Verify, RunsWhileTheWindowIsOpen)
{
    Save(Root() + "\\keep");
    StartProgram();
    ASSERT_NE(MainWindow(), nullptr);
    qzauto::Program verify;
    ASSERT_TRUE(verify.Start("\"" + Root() + "\\program\\qzkeepset.exe\" /verify \"" + Root() + "\\keep\"", "Q:\\"));
    DWORD status = 99;
    EXPECT_TRUE(verify.WaitForExit(status, 90000));
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(ExitProgram(MainWindow()), 0u);
}

// Every event id has its text in the program file, with the keepset and
// the status put in; the manifest asks for an administrator and names
// Windows 7 to 11, and no newer common controls than the dialogs had.
TEST(ProgramFile, CarriesTheEventTextsAndTheApplicationManifest)
{
    const HMODULE program =
        LoadLibraryExA(qzauto::WindowsPathOfUnix(QZ_PROGRAM_FILE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    const char* inserts[] = {"D:\\keep\\2026-12-09", "7", "11", "12", "13", "14", "15", "16", "17"};
    for (unsigned long id : AllEventIds()) {
        char text[1024] = "";
        const DWORD length =
            FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, program, id, 0, text,
                           sizeof text, reinterpret_cast<va_list*>(const_cast<char**>(inserts)));
        ASSERT_GT(length, 0u) << id;
        const std::string message = text;
        EXPECT_NE(message.find("D:\\keep\\2026-12-09"), std::string::npos) << id << ": " << message;
        EXPECT_NE(message.find("status 7"), std::string::npos) << id << ": " << message;
        EXPECT_NE(message.find("11 files"), std::string::npos) << id << ": " << message;
    }
    const HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(program, found))),
                               SizeofResource(program, found));
    EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
    for (const char* os : {"35138b9a", "4a2f28e3", "1f676c76", "8e0f7a12"})
        EXPECT_NE(manifest.find(os), std::string::npos) << os;
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
    FreeLibrary(program);
}

namespace {

// A keepset of two files with its manifest, size list and a record whose
// State is complete, in a scratch folder that is also the working
// directory (for the run log).
class HandMadeKeepset : public ::testing::Test {
protected:
    void SetUp() override
    {
        char previous[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof previous, previous);
        // Set up again inside a test, it keeps the first directory.
        if (previous_.empty())
            previous_ = previous;
        qztest::MakeDirectories(folder_ / "log");
        SetCurrentDirectoryA(folder_.Path().c_str());
        std::vector<ManifestEntry> entries;
        for (const char* name : {"a.txt", "sub\\b.txt"}) {
            qztest::WriteFileText(keepset_ + "\\" + name, std::string("content of ") + name);
            ManifestEntry entry;
            entry.path = name;
            ASSERT_TRUE(win::FileSha256(keepset_ + "\\" + name, entry.sha256, entry.size));
            entries.push_back(entry);
        }
        qztest::WriteFileText(keepset_ + "\\qzkeepset.sha256", FormatManifest(entries));
        qztest::WriteFileText(keepset_ + "\\qzkeepset.size", FormatSizeList(entries));
        WritePrivateProfileStringA("Save", "State", "complete", (keepset_ + "\\qzkeepset.inf").c_str());
        win::ResetCalls();
    }
    void TearDown() override
    {
        win::ResetCalls();
        SetCurrentDirectoryA(previous_.c_str());
    }
    std::vector<std::string> Log() const { return qztest::ReadLines(folder_ / "log\\qzkeepset.log"); }
    std::size_t Logged(const std::string& text) const
    {
        const auto log = Log();
        return static_cast<std::size_t>(std::count_if(
            log.begin(), log.end(), [&](const std::string& line) { return line.find(text) != std::string::npos; }));
    }

    qztest::ScratchFolder folder_{"verify"};
    std::string keepset_ = folder_ / "keep";
    std::string previous_;
};

}  // namespace

TEST_F(HandMadeKeepset, EachVerifyAndEachUnattendedSaveWritesOneEventOfItsType)
{
    struct Case {
        const char* what;
        void (*spoil)(const std::string& keepset);
        int status;
        win::EventType type;
        unsigned long id;
    };
    const Case cases[] = {
        {"whole", [](const std::string&) {}, 0, win::EventType::Information, kEventVerifyWhole},
        {"changed", [](const std::string& k) { qztest::WriteFileText(k + "\\a.txt", "content of a.txT"); }, 1,
         win::EventType::Error, kEventVerifyFailed},
        {"running", [](const std::string& k) {
             WritePrivateProfileStringA("Save", "State", "running", (k + "\\qzkeepset.inf").c_str()); }, 1,
         win::EventType::Error, kEventVerifyFailed},
        {"no manifest", [](const std::string& k) { DeleteFileA((k + "\\qzkeepset.sha256").c_str()); }, 4,
         win::EventType::Warning, kEventVerifyNothing},
    };
    for (const Case& c : cases) {
        SetUp();
        c.spoil(keepset_);
        EXPECT_EQ(RunVerify(keepset_), c.status) << c.what;
        EXPECT_EQ(win::CallCount(win::Op::EventReport), 1u) << c.what;
        win::ReportedEvent event;
        ASSERT_TRUE(win::LastReportedEvent(event));
        EXPECT_EQ(event.type, c.type) << c.what;
        EXPECT_EQ(event.eventId, c.id) << c.what;
        ASSERT_EQ(event.inserts.size(), 9u);
        EXPECT_EQ(event.inserts[0], keepset_);
        EXPECT_EQ(event.inserts[1], std::to_string(c.status));
    }
    EXPECT_EQ(Logged("to write event"), 0u);

    const struct {
        int status;
        win::EventType type;
        unsigned long id;
        const char* files;
    } saves[] = {{0, win::EventType::Information, kEventSaveComplete, "2"},
                 {1, win::EventType::Error, kEventSaveErrors, "2"},
                 {2, win::EventType::Warning, kEventSaveDirectoryTooLong, "0"},
                 {3, win::EventType::Warning, kEventSaveAnotherCopy, "0"}};
    SetUp();
    for (const auto& save : saves) {
        win::ResetCalls();
        ReportSaveEvent(keepset_, save.status);
        EXPECT_EQ(win::CallCount(win::Op::EventReport), 1u) << save.status;
        win::ReportedEvent event;
        ASSERT_TRUE(win::LastReportedEvent(event));
        EXPECT_EQ(event.type, save.type) << save.status;
        EXPECT_EQ(event.eventId, save.id) << save.status;
        EXPECT_EQ(event.inserts, (std::vector<std::string>{keepset_, std::to_string(save.status), save.files}));
    }
}

TEST_F(HandMadeKeepset, AnEventThatCannotBeWrittenIsARunLogLineAndChangesNothing)
{
    win::FailCall(win::Op::EventReport, 1, ERROR_ACCESS_DENIED);
    EXPECT_EQ(RunVerify(keepset_), 0);
    EXPECT_EQ(Logged("FAILED to write event 2000 to the Windows Event Log (system error 5)"), 1u);
    EXPECT_NE(Log().back().find("FAILED to write event"), std::string::npos);
}

// Whichever listed file cannot be read, and whatever part of the manifest
// is cut off, the keepset is never taken for whole.
TEST_F(HandMadeKeepset, AReadThatFailsIsNeverTakenForWhole)
{
    for (unsigned long n = 1; n <= 2; ++n) {
        win::ResetCalls();
        win::FailCall(win::Op::FileHash, n, ERROR_SHARING_VIOLATION);
        const std::size_t before = Logged("FAILED, cannot be read: ");
        EXPECT_EQ(RunVerify(keepset_), 1) << n;
        EXPECT_EQ(Logged("FAILED, cannot be read: "), before + 1) << n;
    }
    // The size list, then the manifest: without sizes the hashes still
    // prove the files; without the manifest there is nothing to prove.
    win::ResetCalls();
    win::FailCall(win::Op::FileRead, 1, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(RunVerify(keepset_), 0);
    win::ResetCalls();
    win::FailCall(win::Op::FileRead, 2, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(RunVerify(keepset_), 4);
    EXPECT_EQ(Logged("its manifest cannot be read"), 1u);
    // A manifest line that climbs out of the keepset is not followed.
    qztest::WriteFileText(keepset_ + "\\qzkeepset.sha256",
                          qztest::ReadFileText(keepset_ + "\\qzkeepset.sha256") + std::string(64, 'a') +
                              "  ..\\log\\qzkeepset.log\n");
    win::ResetCalls();
    EXPECT_EQ(RunVerify(keepset_), 1);
    EXPECT_EQ(Logged("FAILED, line 3 not understood"), 1u);
}

// Large files are hashed beside each other; whichever hash fails, the run
// is never whole, and the lines keep the manifest's order.
TEST_F(HandMadeKeepset, LargeFilesHashedAtOnceFailInTheManifestsOrder)
{
    const std::size_t large = static_cast<std::size_t>(HashesInOrder::kAheadBytes) + 1;
    std::vector<ManifestEntry> entries;
    for (const char* name : {"big0.vox", "a.txt", "big1.vox", "big2.vox", "sub\\b.txt", "big3.vox"}) {
        if (name[0] == 'b')
            qztest::WriteFileText(keepset_ + "\\" + name, std::string(large, name[3]));
        ManifestEntry entry;
        entry.path = name;
        ASSERT_TRUE(win::FileSha256(keepset_ + "\\" + name, entry.sha256, entry.size));
        entry.sizeKnown = true;
        entries.push_back(entry);
    }
    qztest::WriteFileText(keepset_ + "\\qzkeepset.sha256", FormatManifest(entries));
    qztest::WriteFileText(keepset_ + "\\qzkeepset.size", FormatSizeList(entries));
    for (unsigned long n = 1; n <= entries.size(); ++n) {
        win::ResetCalls();
        win::FailCall(win::Op::FileHash, n, ERROR_SHARING_VIOLATION);
        const std::size_t before = Logged("FAILED, cannot be read: ");
        EXPECT_EQ(RunVerify(keepset_), 1) << n;
        EXPECT_EQ(Logged("FAILED, cannot be read: "), before + 1) << n;
    }
    qztest::WriteFileText(keepset_ + "\\big0.vox", std::string(large - 1, '0') + "1");
    ASSERT_TRUE(DeleteFileA((keepset_ + "\\big2.vox").c_str()));
    qztest::WriteFileText(keepset_ + "\\sub\\b.txt", "content of sub\\b.txT");
    win::ResetCalls();
    const std::size_t before = Log().size();
    EXPECT_EQ(RunVerify(keepset_), 1);
    std::vector<std::string> failed;
    const auto log = Log();
    for (std::size_t i = before; i < log.size(); ++i)
        if (log[i].find("FAILED, ") != std::string::npos)
            failed.push_back(log[i].substr(log[i].find("FAILED, ")));
    EXPECT_EQ(failed, (std::vector<std::string>{"FAILED, changed: " + keepset_ + "\\big0.vox",
                                                "FAILED, missing: " + keepset_ + "\\big2.vox",
                                                "FAILED, changed: " + keepset_ + "\\sub\\b.txt"}));
    EXPECT_EQ(Logged("3 whole, 1 missing, 2 changed"), 1u);
}
