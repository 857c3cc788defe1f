// Dumps against the private test server (scripts/test-db.sh), through the
// stand-in client programs in tests\bridge beside this test program.
#include "config/ConfigFile.h"
#include "save/DumpMySqlDatabase.h"
#include "support/TestDatabase.h"
#include "support/WineHost.h"
#include "win/CallCounter.h"
#include "win/Process.h"
#include "win/Profile.h"

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

TEST_F(DumpMySqlDatabaseTest, CredentialsWithBlanksAndQuotesReachTheServerWhole)
{
    ASSERT_EQ(RunSql("DROP USER IF EXISTS 'dumpsuite user'@'localhost';"
                     "CREATE USER 'dumpsuite user'@'localhost' IDENTIFIED BY 'pa ss\"wo\\\\rd -p';"
                     "GRANT ALL ON dumpsuite_alarm.* TO 'dumpsuite user'@'localhost';"),
              0);
    SetMySqlKey("UserName", "dumpsuite user");
    SetMySqlKey("Password", "pa ss\"wo\\rd -p");
    qztest::ScratchFolder target("dump");

    EXPECT_TRUE(DumpMySqlDatabase(kDatabase, target.Path()));
    EXPECT_NE(qztest::ReadFileText(target / "dumpsuite_alarm.sql").find("(2,'all clear')"), std::string::npos);
    RunSql("DROP USER 'dumpsuite user'@'localhost'");
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
