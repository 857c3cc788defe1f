// Dumps against the private test server (scripts/test-db.sh), through the
// stand-in client programs in tests\bridge beside this test program.
#include "config/ConfigFile.h"
#include "save/ClientOptionFile.h"
#include "save/ClientOptionText.h"
#include "save/DumpMySqlDatabase.h"
#include "support/TestDatabase.h"
#include "support/WineHost.h"
#include "win/CallCounter.h"
#include "win/Process.h"
#include "win/Profile.h"
#include "win/WrappedNames.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

using qztest::BridgeDirectory;
using qztest::RunSql;

const char kDatabase[] = "dumpsuite_alarm";

void SetMySqlKey(const char* key, const std::string& value)
{
    win::WriteProfileValue(kConfigFile, kSectionMySql, key, value);
}

class DumpMySqlDatabaseTest : public testing::Test {
protected:
    void SetUp() override
    {
        QZ_REQUIRE_TEST_DATABASE();
        qztest::RemoveConfigFile();
        win::ResetCalls();
        ASSERT_EQ(RunSql("DROP DATABASE IF EXISTS dumpsuite_alarm; CREATE DATABASE dumpsuite_alarm;"
                         "CREATE TABLE dumpsuite_alarm.messages (id INT PRIMARY KEY, text VARCHAR(40));"
                         "INSERT INTO dumpsuite_alarm.messages VALUES (1, 'fire alarm'), (2, 'all clear');"),
                  0);
        SetMySqlKey("MySQLPath", BridgeDirectory());
        SetMySqlKey("UserName", "root");
    }

    void TearDown() override
    {
        if (qztest::TestDatabaseAvailable())
            RunSql("DROP DATABASE IF EXISTS dumpsuite_alarm");
        qztest::RemoveConfigFile();
    }
};

TEST_F(DumpMySqlDatabaseTest, WritesTheDatabaseWithItsTablesAndRows)
{
    qztest::ScratchFolder target("dump");
    ASSERT_TRUE(DumpMySqlDatabase(kDatabase, target.Path()));

    const std::string dump = qztest::ReadFileText(target / "dumpsuite_alarm.sql");
    EXPECT_NE(dump.find("CREATE DATABASE /*!32312 IF NOT EXISTS*/ `dumpsuite_alarm`"), std::string::npos);
    EXPECT_NE(dump.find("CREATE TABLE `messages`"), std::string::npos);
    EXPECT_NE(dump.find("INSERT INTO `messages` VALUES"), std::string::npos);
    EXPECT_NE(dump.find("(1,'fire alarm'),"), std::string::npos);
    EXPECT_NE(dump.find("(2,'all clear');"), std::string::npos);
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 1u);
}

TEST_F(DumpMySqlDatabaseTest, AFailedDumpIsAFailure)
{
    qztest::ScratchFolder target("dump");
    EXPECT_FALSE(DumpMySqlDatabase("dumpsuite_no_such_database", target.Path()));

    SetMySqlKey("UserName", "dumpsuite_nobody");
    EXPECT_FALSE(DumpMySqlDatabase(kDatabase, target.Path()));

    SetMySqlKey("UserName", "root");
    SetMySqlKey("Password", "wrong");
    EXPECT_FALSE(DumpMySqlDatabase(kDatabase, target.Path()));

    // The server is down: its socket leads nowhere.
    SetMySqlKey("Password", "");
    const std::string socket = qztest::TestDatabaseSocket();
    SetEnvironmentVariableA("QZ_TEST_DB_SOCKET", (socket + ".gone").c_str());
    EXPECT_FALSE(DumpMySqlDatabase(kDatabase, target.Path()));
    SetEnvironmentVariableA("QZ_TEST_DB_SOCKET", socket.c_str());

    // A target directory that does not exist.
    EXPECT_FALSE(DumpMySqlDatabase(kDatabase, target / "missing"));
}

// What the stand-in programs were given: their arguments, and the content
// of the option file named first (see tests/bridge/ClientBridge.cpp).
class BridgeRecord {
public:
    explicit BridgeRecord(const qztest::ScratchFolder& folder) : file_(folder / "bridge-record.txt")
    {
        SetEnvironmentVariableA("QZ_BRIDGE_RECORD", file_.c_str());
    }
    ~BridgeRecord() { SetEnvironmentVariableA("QZ_BRIDGE_RECORD", nullptr); }

    std::string Text() const { return qztest::Exists(file_) ? qztest::ReadFileText(file_) : ""; }

    // The option file's name as the last program saw it; empty without one.
    std::string OptionFile() const
    {
        const std::string text = Text();
        const std::string::size_type at = text.rfind("option file: ");
        if (at == std::string::npos)
            return "";
        return text.substr(at + 13, text.find('\n', at) - at - 13);
    }

private:
    std::string file_;
};

// The password holds blanks, both quote characters, "&", "#" and a
// backslash at its end; the user name a blank.
const char kPassword[] = "p a&s \"q\" 'x' #\\";
const char kPasswordSql[] = "'p a&s \"q\" \\'x\\' #\\\\'";

class DumpWithPasswordTest : public DumpMySqlDatabaseTest {
protected:
    void SetUp() override
    {
        DumpMySqlDatabaseTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_EQ(RunSql(std::string("DROP USER IF EXISTS 'dumpsuite user'@'localhost';"
                                     "CREATE USER 'dumpsuite user'@'localhost' IDENTIFIED BY ") +
                         kPasswordSql + ";GRANT ALL ON dumpsuite_alarm.* TO 'dumpsuite user'@'localhost';"),
                  0);
        SetMySqlKey("UserName", "dumpsuite user");
        SetMySqlKey("Password", kPassword);
    }

    void TearDown() override
    {
        if (qztest::TestDatabaseAvailable())
            RunSql("DROP USER IF EXISTS 'dumpsuite user'@'localhost'");
        DumpMySqlDatabaseTest::TearDown();
    }
};

// The password reaches the server whole through the option file, named as
// the program's first option; nothing of it is on the command line, and
// the file is gone once the dump has ended.
TEST_F(DumpWithPasswordTest, ThePasswordTravelsInAnOptionFileThatIsGoneAfterwards)
{
    qztest::ScratchFolder target("dump");
    BridgeRecord record(target);

    EXPECT_TRUE(DumpMySqlDatabase(kDatabase, target.Path()));
    EXPECT_NE(qztest::ReadFileText(target / "dumpsuite_alarm.sql").find("(2,'all clear')"), std::string::npos);

    const std::string seen = record.Text();
    const std::string optionFile = record.OptionFile();
    ASSERT_FALSE(optionFile.empty()) << seen;
    EXPECT_EQ(seen.find("argument: --defaults-extra-file=" + optionFile + "\nargument: --opt\nargument: -B\n"
                        "argument: -udumpsuite user\nargument: -r"),
              0u)
        << seen;
    EXPECT_NE(seen.find("option file: " + optionFile + "\n[client]\npassword=\"p a&s \\\"q\\\" 'x' #\\\\\"\nend\n"),
              std::string::npos)
        << seen;
    EXPECT_EQ(seen.find("argument: -p"), std::string::npos);
    char temporary[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temporary, temporary);
    EXPECT_EQ(optionFile.find(std::string(temporary) + "qzkeepset-" + std::to_string(GetCurrentProcessId()) + "-"),
              0u)
        << optionFile;
    EXPECT_FALSE(qztest::Exists(optionFile));

    // A dump the server refuses deletes its file too.
    SetMySqlKey("Password", "wrong");
    EXPECT_FALSE(DumpMySqlDatabase(kDatabase, target.Path()));
    ASSERT_NE(record.OptionFile(), optionFile);
    EXPECT_FALSE(qztest::Exists(record.OptionFile()));
}

// The load with the query client reads the same kind of file: the dump,
// dropped from the server, comes back with the user's password.
TEST_F(DumpWithPasswordTest, TheQueryClientLoadsWithThePasswordsOptionFile)
{
    qztest::ScratchFolder target("dump");
    ASSERT_TRUE(DumpMySqlDatabase(kDatabase, target.Path()));
    ASSERT_EQ(RunSql("DROP DATABASE dumpsuite_alarm; GRANT ALL ON dumpsuite_alarm.* TO 'dumpsuite user'@'localhost';"),
              0);

    ClientOptionFile options;
    ASSERT_TRUE(options.Create(kPassword));
    unsigned long exitCode = 1;
    ASSERT_TRUE(win::RunProgramAndWait(BridgeDirectory() + ".\\mysql.exe " + OptionFileArgument(options.Path()) +
                                           " \"-udumpsuite user\" -e\"source " + (target / "dumpsuite_alarm.sql") +
                                           "\"",
                                       win::kShowHidden, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(qztest::QuerySql("SELECT text FROM dumpsuite_alarm.messages ORDER BY id"), "fire alarm\nall clear\n");
    const std::string file = options.Path();
    EXPECT_TRUE(options.Remove());
    EXPECT_FALSE(qztest::Exists(file));
}

// No program starts without its option file, and a failed start or an
// unknown end deletes it all the same; so does its owner alone, on an early
// return after it was written and after a refused delete. A password
// without a user name is not used, as before.
TEST_F(DumpWithPasswordTest, FailuresAroundTheProgramLeaveNoOptionFile)
{
    qztest::ScratchFolder target("dump");
    BridgeRecord record(target);
    char temporary[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temporary, temporary);
    const std::string ownFiles = temporary + ("qzkeepset-" + std::to_string(GetCurrentProcessId())) + "-*.cnf";
    const auto noOptionFile = [&ownFiles]() {
        WIN32_FIND_DATAA found;
        const HANDLE search = FindFirstFileA(ownFiles.c_str(), &found);
        return search == INVALID_HANDLE_VALUE || !FindClose(search);
    };

    win::FailCall(win::Op::FileWrite, 1, ERROR_DISK_FULL);
    EXPECT_FALSE(DumpMySqlDatabase(kDatabase, target.Path()));
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 0u);

    win::ResetCalls();
    win::FailCall(win::Op::ProcessRun, 1, ERROR_ACCESS_DENIED);
    EXPECT_FALSE(DumpMySqlDatabase(kDatabase, target.Path()));
    EXPECT_EQ(win::CallCount(win::Op::FileWrite), 1u);
    EXPECT_EQ(win::CallCount(win::Op::FileDelete), 1u);
    EXPECT_TRUE(record.Text().empty());

    win::ResetCalls();
    win::FailCall(win::Op::ProcessWait, 1, ERROR_INVALID_HANDLE);
    EXPECT_FALSE(DumpMySqlDatabase(kDatabase, target.Path()));
    EXPECT_FALSE(qztest::Exists(record.OptionFile()));

    // Both tries of the dump's own delete refused: the owner's end takes it.
    win::ResetCalls();
    win::FailCall(win::Op::FileDelete, 1, ERROR_ACCESS_DENIED);
    win::FailCall(win::Op::FileDelete, 2, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(DumpMySqlDatabase(kDatabase, target.Path()));
    EXPECT_EQ(win::CallCount(win::Op::FileDelete), 3u);
    EXPECT_TRUE(noOptionFile());

    // A dump program path no command line can carry: the dump returns
    // early, after the file was written.
    win::ResetCalls();
    SetMySqlKey("MySQLPath", "C:\\my\"sql");
    EXPECT_FALSE(DumpMySqlDatabase(kDatabase, target.Path()));
    EXPECT_EQ(win::CallCount(win::Op::FileWrite), 1u);
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 0u);
    EXPECT_TRUE(noOptionFile());
    SetMySqlKey("MySQLPath", BridgeDirectory());

    SetMySqlKey("UserName", "");
    DumpMySqlDatabase(kDatabase, target.Path());
    const std::string seen = record.Text();
    const std::string last = seen.substr(seen.rfind("end\n", seen.size() - 5) + 4);
    EXPECT_EQ(last.find("argument: --opt\nargument: -B\nargument: -r"), 0u) << last;
    EXPECT_EQ(last.find("option file"), std::string::npos) << last;
}

// The end of the program takes the option files of the dumps still at
// work, and no new one is made after it.
TEST_F(DumpWithPasswordTest, TheProgramsEndLeavesNoOptionFile)
{
    ClientOptionFile inUse;
    ASSERT_TRUE(inUse.Create(kPassword));
    const std::string path = inUse.Path();
    EXPECT_TRUE(RemoveClientOptionFilesInUse());
    EXPECT_FALSE(qztest::Exists(path));
    ClientOptionFile late;
    EXPECT_FALSE(late.Create(kPassword));
    qztest::ScratchFolder target("dump");
    EXPECT_FALSE(DumpMySqlDatabase(kDatabase, target.Path()));
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 0u);
    EXPECT_TRUE(inUse.Remove());
    AllowClientOptionFilesAgain();
    EXPECT_TRUE(DumpMySqlDatabase(kDatabase, target.Path()));
}

// A start of the program deletes the option files of its naming that a
// process that no longer runs left behind, also those of earlier versions;
// a running process's file and other names stay.
TEST(ClientOptionFiles, AStartRemovesStaleOnesOnly)
{
    char temporary[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temporary, temporary);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION running = {};
    char line[] = "cmd.exe";
    ASSERT_TRUE(CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr,
                               nullptr, &startup, &running));
    const std::string dir = temporary;
    const std::string stale[] = {dir + "qzkeepset-4000000000-1.cnf", dir + "qzk4000000001-12.cnf",
                                 dir + "qzkeepset-" + std::to_string(GetCurrentProcessId()) + "-9.cnf"};
    const std::string kept[] = {dir + "qzkeepset-" + std::to_string(running.dwProcessId) + "-1.cnf",
                                dir + "qzkeepset-4000000000-1.cnf.txt", dir + "qzkeepset-4000000000.cnf",
                                dir + "qzkeepsetx-4000000000-1.cnf"};
    for (const std::string& file : stale)
        qztest::WriteFileText(file, "[client]\n");
    for (const std::string& file : kept)
        qztest::WriteFileText(file, "[client]\n");

    EXPECT_EQ(RemoveStaleClientOptionFiles(), 3);

    TerminateProcess(running.hProcess, 0);
    CloseHandle(running.hThread);
    CloseHandle(running.hProcess);
    for (const std::string& file : stale)
        EXPECT_FALSE(qztest::Exists(file)) << file;
    for (const std::string& file : kept) {
        EXPECT_TRUE(qztest::Exists(file)) << file;
        DeleteFileA(file.c_str());
    }
}

// A name the code page cannot carry never reaches the dump program.
TEST_F(DumpMySqlDatabaseTest, AWrappedNameIsRefused)
{
    qztest::ScratchFolder target("dump");
    const std::string wrapped = std::string("dumpsuite_") + win::kWrapStart + "\xC5\x81" + win::kWrapEnd;
    EXPECT_FALSE(DumpMySqlDatabase(wrapped, target.Path()));
    EXPECT_FALSE(DumpMySqlDatabase(kDatabase, target.Path() + "\\" + win::kWrapStart + "\xC5\x81" + win::kWrapEnd));
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 0u);
}

TEST_F(DumpMySqlDatabaseTest, ProgramAndTargetDirectoriesWithBlanks)
{
    qztest::ScratchFolder folder("dump blank");
    qztest::MakeDirectories(folder / "My SQL\\bin");
    qztest::MakeDirectories(folder / "save here\\mysql");
    ASSERT_TRUE(CopyFileA((BridgeDirectory() + "\\mysqldump.exe").c_str(),
                          (folder / "My SQL\\bin\\mysqldump.exe").c_str(), FALSE));
    SetMySqlKey("MySQLPath", folder / "My SQL\\bin");

    EXPECT_TRUE(DumpMySqlDatabase(kDatabase, folder / "save here\\mysql"));
    EXPECT_NE(qztest::ReadFileText(folder / "save here\\mysql\\dumpsuite_alarm.sql").find("(1,'fire alarm')"),
              std::string::npos);
}

// The dump holds what a reload needs: the client, started the way the
// restore starts it (in the dump's directory, with the file's bare name),
// re-creates the dropped database.
TEST_F(DumpMySqlDatabaseTest, ADumpReloadsIntoTheServer)
{
    qztest::ScratchFolder target("dump");
    ASSERT_TRUE(DumpMySqlDatabase(kDatabase, target.Path()));
    ASSERT_EQ(RunSql("DROP DATABASE dumpsuite_alarm"), 0);

    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(target.Path().c_str());
    unsigned long exitCode = 1;
    const bool started = win::RunProgramAndWait(
        BridgeDirectory() + ".\\mysql.exe -u root -e\"source dumpsuite_alarm.sql\"", win::kShowHidden, exitCode);
    SetCurrentDirectoryA(previous);
    ASSERT_TRUE(started);
    EXPECT_EQ(exitCode, 0u);

    qztest::ScratchFolder again("dump again");
    ASSERT_TRUE(DumpMySqlDatabase(kDatabase, again.Path()));
    EXPECT_NE(qztest::ReadFileText(again / "dumpsuite_alarm.sql").find("(2,'all clear');"), std::string::npos);
}

// Needs no server: nothing is started.
TEST(DumpMySqlDatabase, NoDumpProgramWhereThePathPoints)
{
    qztest::RemoveConfigFile();
    qztest::ScratchFolder target("dump");
    SetMySqlKey("MySQLPath", target / "nothing\\bin");
    EXPECT_FALSE(DumpMySqlDatabase(kDatabase, target.Path()));
    SetMySqlKey("MySQLPath", "");
    EXPECT_FALSE(DumpMySqlDatabase(kDatabase, target.Path()));
    EXPECT_FALSE(qztest::Exists(target / "dumpsuite_alarm.sql"));
    qztest::RemoveConfigFile();
}

}  // namespace
