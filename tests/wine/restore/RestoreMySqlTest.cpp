// Database dumps of a keepset loaded back into the private test server
// (scripts/test-db.sh) through the stand-in client programs in
// tests\bridge beside this test program.
#include "RestoreFixture.h"

#include "config/ConfigFile.h"
#include "support/FaultSweep.h"
#include "save/DumpMySqlDatabase.h"
#include "support/TestDatabase.h"
#include "win/Process.h"
#include "win/Profile.h"

#include <windows.h>

#include <string>

namespace restoretest {
namespace {

const char kDatabase[] = "restoresuite_alarm";
const char kChangedRows[] = "1\tfire alarm\n2\tchanged\n3\tnew\n";

class RestoreMySqlTest : public RestoreTest {
protected:
    void SetUp() override
    {
        RestoreTest::SetUp();
        if (HasFatalFailure())
            return;
        QZ_REQUIRE_TEST_DATABASE();
        ASSERT_EQ(qztest::RunSql("DROP DATABASE IF EXISTS restoresuite_alarm; CREATE DATABASE restoresuite_alarm;"
                                 "CREATE TABLE restoresuite_alarm.messages (id INT PRIMARY KEY, text VARCHAR(40));"
                                 "INSERT INTO restoresuite_alarm.messages VALUES "
                                 "(1, 'fire alarm'), (2, 'all clear');"),
                  0);
        Config("[MySQL]\r\nMySQLPath=" + qztest::BridgeDirectory() + "\r\nMySQLDataPath=" + data_.Path() +
               "\r\nUserName=root\r\n");
        Record("SaveMySql=1\r\n");
    }

    void TearDown() override
    {
        if (qztest::TestDatabaseAvailable())
            qztest::RunSql("DROP DATABASE IF EXISTS restoresuite_alarm");
        RestoreTest::TearDown();
    }

    // The keepset's dump of the database as it is now, then the rows
    // changed on the server.
    void SaveThenChange()
    {
        qztest::MakeDirectories(keep_ / "mysql");
        ASSERT_TRUE(DumpMySqlDatabase(kDatabase, keep_ / "mysql"));
        ASSERT_EQ(qztest::RunSql("UPDATE restoresuite_alarm.messages SET text = 'changed' WHERE id = 2;"
                                 "INSERT INTO restoresuite_alarm.messages VALUES (3, 'new');"),
                  0);
        ASSERT_EQ(Rows(), kChangedRows);
        win::ResetCalls();
    }

    // The table's rows, one per line, fields separated by tabs.
    std::string Rows()
    {
        return qztest::QuerySql("SELECT id, text FROM restoresuite_alarm.messages ORDER BY id");
    }

    std::string SafetyDump() { return qztest::ReadFileText(data_ / "restoresuite_alarm.bkp"); }

    std::string LoadCommand() const
    {
        return qztest::BridgeDirectory() + ".\\mysql.exe -u root -e\"source restoresuite_alarm.sql\"";
    }

    qztest::ScratchFolder data_{"restore-mysql-data"};
};

// With the server down the safety dump fails, so nothing is loaded.
TEST_F(RestoreMySqlTest, NoLoadWithoutASafetyDump)
{
    SaveThenChange();
    const std::string socket = qztest::TestDatabaseSocket();
    SetEnvironmentVariableA("QZ_TEST_DB_SOCKET", (socket + ".gone").c_str());
    const bool restored = Run(OtherRoot());
    SetEnvironmentVariableA("QZ_TEST_DB_SOCKET", socket.c_str());

    EXPECT_FALSE(restored);
    EXPECT_EQ(Rows(), kChangedRows);
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 1u);
    EXPECT_EQ(LoggedLinesStartingWith("FAILED safety dump of MySQL database restoresuite_alarm (exit status "), 1u);
    EXPECT_EQ(LoggedLinesStartingWith("Restore MySQL database with command: "), 0u);
    EXPECT_EQ(win::CurrentDirectory(), "Q:\\work");
    EXPECT_EQ(Summary(), kErrorsText);
    EXPECT_EQ(host_.events, (Lines{"wait", "arrow"}));
}

// A load that cannot be started, or that the client ends with an error
// status, is a failure, logged after the load's command line. (The client
// ends with status 0 after SQL errors inside the file it sources, so the
// failing client here is the dump program's bridge under the client's
// name: it refuses the client's options with status 2.)
TEST_F(RestoreMySqlTest, AFailedLoadIsAFailure)
{
    SaveThenChange();
    win::FailCall(win::Op::ProcessRun, 2, ERROR_FILE_NOT_FOUND);

    EXPECT_FALSE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));

    EXPECT_EQ(Rows(), kChangedRows);
    EXPECT_NE(SafetyDump().find("(3,'new')"), std::string::npos);
    Lines texts = LogTexts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[2], "Restore MySQL database with command: " + LoadCommand());
    EXPECT_EQ(texts[3], "FAILED to start the restore of MySQL database restoresuite_alarm");
    EXPECT_EQ(Summary(), kErrorsText);
    EXPECT_EQ(host_.events, (Lines{"wait", "arrow"}));

    qztest::ScratchFolder bin("restore-mysql-bin");
    for (const char* name : {"mysqldump.exe", "mysql.exe"})
        ASSERT_TRUE(
            CopyFileA((qztest::BridgeDirectory() + "\\mysqldump.exe").c_str(), (bin / name).c_str(), FALSE));
    win::WriteProfileValue(kConfigFile, kSectionMySql, "MySQLPath", bin.Path());
    host_.events.clear();

    EXPECT_TRUE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));

    texts = LogTexts();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[6], "Restore MySQL database with command: " + bin.Path() +
                            ".\\mysql.exe -u root -e\"source restoresuite_alarm.sql\"");
    EXPECT_EQ(texts[7], "FAILED to restore MySQL database restoresuite_alarm (exit status 2)");
    EXPECT_EQ(Summary(), kErrorsText);
    EXPECT_EQ(host_.events, (Lines{"wait", "arrow", "close"}));
}

// A program whose end or exit status cannot be learned has not succeeded:
// after such a safety dump nothing is loaded; after such a load the run
// fails, though the database may have changed (and here did).
TEST_F(RestoreMySqlTest, AnUnknownEndIsAFailure)
{
    SaveThenChange();
    win::FailCall(win::Op::ProcessWait, 1, ERROR_INVALID_HANDLE);

    EXPECT_FALSE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));
    EXPECT_EQ(Rows(), kChangedRows);
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 1u);
    EXPECT_EQ(LoggedLinesStartingWith("FAILED safety dump of MySQL database restoresuite_alarm (its end or exit "
                                      "status could not be read), the database is not restored: "),
              1u);
    EXPECT_EQ(LoggedLinesStartingWith("Restore MySQL database with command: "), 0u);
    EXPECT_EQ(Summary(), kErrorsText);

    win::ResetCalls();
    win::FailCall(win::Op::ProcessWait, 2, ERROR_INVALID_HANDLE);
    host_.events.clear();
    EXPECT_TRUE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));
    EXPECT_EQ(LogTexts().back(),
              "FAILED to restore MySQL database restoresuite_alarm (its end or exit status could not be read)");
    EXPECT_EQ(Summary(), kErrorsText);
    EXPECT_EQ(host_.events, (Lines{"wait", "arrow", "close"}));
}

// The database item of a restore with the Nth call of each kind failing:
// the run ends, the current directory is the installation's again, a
// failed safety dump leaves the database as it was, and a failure that
// reaches the log is an error of the run.
TEST_F(RestoreMySqlTest, EveryFailingCallOfTheDatabaseItem)
{
    SaveThenChange();
    const RestoreRequest request = Custom(OtherRoot(), {{MySqlDatabases, true}});
    ASSERT_TRUE(Run(request));
    ASSERT_EQ(Summary(), kSuccessText);
    const auto points = qztest::FailurePoints(4);
    ASSERT_GE(win::CallCount(win::Op::ProcessWait), 2u);
    ASSERT_GE(points.size(), 8u);
    const std::string dump = qztest::ReadFileText(keep_ / "mysql\\restoresuite_alarm.sql");

    for (const auto& point : points) {
        const std::string where = std::string(qztest::OpName(point.first)) + " #" + std::to_string(point.second);
        ASSERT_EQ(qztest::RunSql("UPDATE restoresuite_alarm.messages SET text = 'changed' WHERE id = 2;"
                         "REPLACE INTO restoresuite_alarm.messages VALUES (3, 'new');"),
                  0);
        const std::size_t logBefore = LogTexts().size();
        win::ResetCalls();
        win::FailCall(point.first, point.second, qztest::SweepErrorCode(point.first));
        Run(request);
        win::ResetCalls();

        const Lines log = LogTexts();
        bool failureLogged = false;
        bool safetyDumpFailed = false;
        for (std::size_t i = logBefore; i < log.size(); ++i) {
            failureLogged = failureLogged || log[i].find("FAILED") != std::string::npos;
            safetyDumpFailed = safetyDumpFailed || log[i].find("safety dump") != std::string::npos;
        }
        if (failureLogged) {
            EXPECT_EQ(Summary(), kErrorsText) << where;
        }
        if (safetyDumpFailed) {
            EXPECT_EQ(Rows(), kChangedRows) << "loaded without a safety dump: " << where;
        }
        if (point.first == win::Op::ProcessRun || point.first == win::Op::ProcessWait) {
            EXPECT_TRUE(failureLogged) << where;
        }
        EXPECT_TRUE(win::CurrentDirectory() == "Q:\\work" || failureLogged) << where;
        EXPECT_EQ(qztest::ReadFileText(keep_ / "mysql\\restoresuite_alarm.sql"), dump) << where;
        win::ChangeDirectory("Q:\\work");
    }
}

// A dump file whose name would end the client's "source" statement and
// start another is not loaded and reaches no program; the dump beside it
// is loaded as usual.
TEST_F(RestoreMySqlTest, ARefusedDumpNameLeavesTheServerUntouched)
{
    SaveThenChange();
    ASSERT_EQ(qztest::RunSql("DROP DATABASE IF EXISTS restoresuite_victim; CREATE DATABASE restoresuite_victim;"
                     "CREATE TABLE restoresuite_victim.t (id INT); INSERT INTO restoresuite_victim.t VALUES (7);"),
              0);
    const std::string evil = "x.sql; DROP DATABASE restoresuite_victim; -- .sql";
    Saved("mysql\\" + evil, "DROP DATABASE restoresuite_victim;\n");
    WriteManifest();  // even a file the manifest vouches for
    win::ResetCalls();

    EXPECT_TRUE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));

    EXPECT_EQ(qztest::QuerySql("SELECT id FROM restoresuite_victim.t"), "7\n");
    EXPECT_EQ(Rows(), "1\tfire alarm\n2\tall clear\n");
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 2u);  // safety dump and load of the good dump
    EXPECT_TRUE(Logged("FAILED to restore the MySQL dump " + keep_.Path() + ".\\mysql\\" + evil +
                       ": not loaded, a save names its dumps <database>.sql with letters, digits, _, $, - and @ only"));
    EXPECT_EQ(Summary(), kErrorsText);
    qztest::RunSql("DROP DATABASE IF EXISTS restoresuite_victim");
}

// Needs no server: nothing is started.
TEST_F(RestoreTest, DumpsWithoutClientProgramOrNoDumpsAtAll)
{
    Saved("mysql\\alarm.sql", "CREATE DATABASE alarm;\n");
    Config("[MySQL]\r\nMySQLPath=\r\n");
    Record("SaveMySql=1\r\n");

    EXPECT_FALSE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));
    EXPECT_TRUE(Logged("FAILED to restore MySQL database alarm: no client program in MySQLPath \"\""));
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 0u);
    EXPECT_EQ(Summary(), kErrorsText);

    // Names a save never gives a dump are refused before any program runs.
    qztest::RemoveTree(keep_ / "mysql\\alarm.sql");
    const std::string refused[] = {"x.sql; DROP DATABASE victim; -- .sql", "a.sql.sql"};
    for (const std::string& name : refused)
        Saved("mysql\\" + name, "DROP DATABASE victim;\n");
    win::ResetCalls();
    EXPECT_FALSE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));
    for (const std::string& name : refused)
        EXPECT_TRUE(Logged("FAILED to restore the MySQL dump " + keep_.Path() + ".\\mysql\\" + name +
                           ": not loaded, a save names its dumps <database>.sql with letters, digits, _, $, - and @ only"))
            << name;
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 0u);
    EXPECT_EQ(Summary(), kErrorsText);

    for (const std::string& name : refused)
        qztest::RemoveTree(keep_ / ("mysql\\" + name));
    EXPECT_FALSE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));
    EXPECT_EQ(LogTexts().back(), "No files found in directory: " + keep_.Path() + ".\\mysql.\\*.sql");
    EXPECT_EQ(Summary(), kNothingText);
    EXPECT_EQ(win::CurrentDirectory(), "Q:\\work");
}

}  // namespace
}  // namespace restoretest
