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
const char kSavedRows[] = "1\tfire alarm\n2\tall clear\n";
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

    // The tables of the database and every row of each: what "as before"
    // compares.
    std::string Content()
    {
        return qztest::QuerySql("SHOW TABLES FROM restoresuite_alarm") + Rows();
    }

    // The only safety dump in the data folder.
    std::string SafetyDump()
    {
        const std::vector<std::string> dumps = qztest::SafetyDumps(data_.Path(), kDatabase);
        EXPECT_EQ(dumps.size(), 1u);
        return dumps.empty() ? std::string() : qztest::ReadFileText(data_ / dumps[0]);
    }

    // The load's line up to the name of the copy it fed to the client.
    std::string LoadLineStart(const std::string& programDirectory) const
    {
        return "Restore MySQL database with command: " + programDirectory + ".\\mysql.exe -u root < ";
    }

    // The keepset's dump with a statement the server refuses after its
    // first table was re-created and filled, and a second table before it.
    void BreakTheSavedDump()
    {
        std::string dump = qztest::ReadFileText(keep_ / "mysql\\restoresuite_alarm.sql");
        const std::string::size_type unlock = dump.find("UNLOCK TABLES;");
        ASSERT_NE(unlock, std::string::npos);
        dump.insert(unlock + 15, "CREATE TABLE extra (id INT);\nINSERT INTO extra VALUES (9);\n"
                                 "INSERT INTO messages VALUES (4, 'half';\n");
        Saved("mysql\\restoresuite_alarm.sql", dump);
    }

    qztest::ScratchFolder data_{"restore-mysql-data"};
};

// With the server down the check whether the database exists fails, so
// nothing is dumped or loaded.
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
    EXPECT_EQ(LoggedLinesStartingWith("FAILED to learn whether MySQL database restoresuite_alarm exists (exit "
                                      "status 1: ERROR 2002"),
              1u);
    EXPECT_EQ(LoggedLinesStartingWith("Restore MySQL database with command: "), 0u);
    EXPECT_TRUE(qztest::SafetyDumps(data_.Path(), kDatabase).empty());
    EXPECT_TRUE(qztest::RestoreWorkFolders().empty());
    EXPECT_EQ(win::CurrentDirectory(), "Q:\\work");
    EXPECT_EQ(Summary(), kErrorsText);
    EXPECT_EQ(host_.events, (Lines{"wait", "arrow"}));

    // The server is there, its dump program is not: no load either.
    qztest::ScratchFolder bin("restore-mysql-bin");
    ASSERT_TRUE(CopyFileA((qztest::BridgeDirectory() + "\\mysql.exe").c_str(), (bin / "mysql.exe").c_str(), FALSE));
    win::WriteProfileValue(kConfigFile, kSectionMySql, "MySQLPath", bin.Path());
    EXPECT_FALSE(Run(OtherRoot()));
    EXPECT_EQ(Rows(), kChangedRows);
    EXPECT_EQ(LoggedLinesStartingWith("FAILED to start the safety dump of MySQL database restoresuite_alarm, the "
                                      "database is not restored: "),
              1u);
    EXPECT_TRUE(qztest::SafetyDumps(data_.Path(), kDatabase).empty());
}

// The load feeds the verified copy to the client; the database comes back,
// the safety dump holds what was there before, and the copy and its folder
// are gone afterwards.
TEST_F(RestoreMySqlTest, TheVerifiedCopyIsLoadedAndTheSafetyDumpNamed)
{
    SaveThenChange();
    WriteManifest();
    win::ResetCalls();

    EXPECT_TRUE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));

    EXPECT_EQ(Rows(), kSavedRows);
    const std::vector<std::string> dumps = qztest::SafetyDumps(data_.Path(), kDatabase);
    ASSERT_EQ(dumps.size(), 1u);
    EXPECT_NE(SafetyDump().find("(3,'new')"), std::string::npos);
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 3u);  // the check, the safety dump, the load
    const Lines texts = LogTexts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1], "Safety dump of MySQL database restoresuite_alarm written to " + data_.Path() + ".\\" + dumps[0]);
    const std::string start = LoadLineStart(qztest::BridgeDirectory());
    ASSERT_EQ(texts[2].compare(0, start.size(), start), 0) << texts[2];
    const std::string copy = texts[2].substr(start.size());
    char temporary[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temporary, temporary);
    EXPECT_EQ(copy.find(std::string(temporary) + "qzkeepset-restore-"), 0u) << copy;
    EXPECT_EQ(copy.substr(copy.size() - 23), "\\restoresuite_alarm.sql");
    EXPECT_FALSE(qztest::Exists(copy));
    EXPECT_TRUE(qztest::RestoreWorkFolders().empty());
    EXPECT_EQ(Summary(), kSuccessText);

    // A dump that differs from the manifest's is not loaded, also when its
    // size is the same and only its hash tells.
    Saved("mysql\\restoresuite_alarm.sql",
          qztest::ReadFileText(keep_ / "mysql\\restoresuite_alarm.sql").replace(0, 2, "##"));
    ASSERT_EQ(qztest::RunSql("UPDATE restoresuite_alarm.messages SET text = 'changed' WHERE id = 2"), 0);
    EXPECT_FALSE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));
    EXPECT_EQ(LogTexts().back(), "FAILED to restore MySQL database restoresuite_alarm from " + keep_.Path() +
                                     ".\\mysql\\restoresuite_alarm.sql (not loaded: the dump does not match the "
                                     "keepset's manifest)");
    EXPECT_EQ(Rows(), "1\tfire alarm\n2\tchanged\n");
    EXPECT_TRUE(qztest::RestoreWorkFolders().empty());
}

// A statement the server refuses in the middle of the dump: the client
// stops there with status 1, the run fails, and the database is put back
// from its safety dump exactly as it was, the table the dump had created
// before the error gone again.
TEST_F(RestoreMySqlTest, AMidFileSqlErrorIsAFailureAndPutsTheDatabaseBack)
{
    SaveThenChange();
    BreakTheSavedDump();
    const std::string before = Content();

    EXPECT_FALSE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));

    EXPECT_EQ(Rows(), kChangedRows);
    EXPECT_EQ(Content(), before);
    const std::vector<std::string> dumps = qztest::SafetyDumps(data_.Path(), kDatabase);
    ASSERT_EQ(dumps.size(), 1u);
    EXPECT_EQ(LoggedLinesStartingWith("FAILED to restore MySQL database restoresuite_alarm (exit status 1: ERROR "
                                      "1064 (42000) at line "),
              1u);
    EXPECT_TRUE(Logged("MySQL database restoresuite_alarm put back as it was from its safety dump " + data_.Path() +
                       ".\\" + dumps[0]));
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 5u);  // check, safety dump, load, drop, safety dump loaded
    EXPECT_TRUE(qztest::RestoreWorkFolders().empty());
    EXPECT_EQ(Summary(), kErrorsText);
    EXPECT_EQ(host_.events, (Lines{"wait", "arrow"}));

    // Over a database that does not exist, the failed load's database is
    // dropped again.
    ASSERT_EQ(qztest::RunSql("DROP DATABASE restoresuite_alarm"), 0);
    EXPECT_FALSE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));
    EXPECT_EQ(qztest::QuerySql("SHOW DATABASES LIKE 'restoresuite_alarm'"), "");
    EXPECT_TRUE(Logged("MySQL database restoresuite_alarm removed again: it did not exist before the restore"));
    EXPECT_EQ(qztest::SafetyDumps(data_.Path(), kDatabase), dumps);
}

// A safety dump never replaces an earlier one, nor a file that holds its
// name; each run's name is in the log.
TEST_F(RestoreMySqlTest, TwoRestoresKeepTwoSafetyDumps)
{
    SaveThenChange();
    EXPECT_TRUE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));
    ASSERT_EQ(qztest::RunSql("UPDATE restoresuite_alarm.messages SET text = 'second' WHERE id = 2"), 0);
    EXPECT_TRUE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));

    const std::vector<std::string> dumps = qztest::SafetyDumps(data_.Path(), kDatabase);
    ASSERT_EQ(dumps.size(), 2u);
    std::string both;
    for (const std::string& dump : dumps) {
        EXPECT_TRUE(Logged("Safety dump of MySQL database restoresuite_alarm written to " + data_.Path() + ".\\" + dump));
        both += qztest::ReadFileText(data_ / dump);
    }
    EXPECT_NE(both.find("(2,'changed')"), std::string::npos);
    EXPECT_NE(both.find("(2,'second')"), std::string::npos);
    EXPECT_EQ(Rows(), kSavedRows);
}

// A database dropped since the save is restored: there is nothing to keep,
// which the log says, and no failure.
TEST_F(RestoreMySqlTest, ADroppedDatabaseRestores)
{
    SaveThenChange();
    ASSERT_EQ(qztest::RunSql("DROP DATABASE restoresuite_alarm"), 0);

    EXPECT_TRUE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));

    EXPECT_EQ(Rows(), kSavedRows);
    EXPECT_TRUE(Logged("MySQL database restoresuite_alarm does not exist on the server: no safety dump is made, the "
                       "restore creates it"));
    EXPECT_TRUE(qztest::SafetyDumps(data_.Path(), kDatabase).empty());
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 2u);
    EXPECT_EQ(Summary(), kSuccessText);
    EXPECT_EQ(host_.events, (Lines{"wait", "arrow", "close"}));
}

// A load that cannot be started changes nothing; one whose end cannot be
// learned is a failure that puts the database back.
TEST_F(RestoreMySqlTest, AFailedLoadIsAFailure)
{
    SaveThenChange();
    win::FailCall(win::Op::ProcessRun, 3, ERROR_FILE_NOT_FOUND);

    EXPECT_FALSE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));

    EXPECT_EQ(Rows(), kChangedRows);
    EXPECT_NE(SafetyDump().find("(3,'new')"), std::string::npos);
    const Lines texts = LogTexts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2].compare(0, LoadLineStart(qztest::BridgeDirectory()).size(),
                                              LoadLineStart(qztest::BridgeDirectory())),
              0);
    EXPECT_EQ(texts.back(), "FAILED to start the restore of MySQL database restoresuite_alarm");
    EXPECT_EQ(Summary(), kErrorsText);
    EXPECT_EQ(host_.events, (Lines{"wait", "arrow"}));
}

// A program whose end or exit status cannot be learned has not succeeded:
// after such a check or safety dump nothing is loaded; after such a load
// (which here did its work) the database is put back.
TEST_F(RestoreMySqlTest, AnUnknownEndIsAFailure)
{
    SaveThenChange();
    win::FailCall(win::Op::ProcessWait, 2, ERROR_INVALID_HANDLE);

    EXPECT_FALSE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));
    EXPECT_EQ(Rows(), kChangedRows);
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 2u);
    EXPECT_EQ(LoggedLinesStartingWith("FAILED safety dump of MySQL database restoresuite_alarm (its end or exit "
                                      "status could not be read), the database is not restored: "),
              1u);
    EXPECT_EQ(LoggedLinesStartingWith("Restore MySQL database with command: "), 0u);
    EXPECT_TRUE(qztest::SafetyDumps(data_.Path(), kDatabase).empty());
    EXPECT_EQ(Summary(), kErrorsText);

    win::ResetCalls();
    win::FailCall(win::Op::ProcessWait, 3, ERROR_INVALID_HANDLE);
    host_.events.clear();
    EXPECT_FALSE(Run(Custom(OtherRoot(), {{MySqlDatabases, true}})));
    EXPECT_TRUE(Logged(
        "FAILED to restore MySQL database restoresuite_alarm (its end or exit status could not be read)"));
    EXPECT_EQ(LoggedLinesStartingWith("MySQL database restoresuite_alarm put back as it was from its safety dump "),
              1u);
    EXPECT_EQ(Rows(), kChangedRows);
    EXPECT_EQ(Summary(), kErrorsText);
    EXPECT_EQ(host_.events, (Lines{"wait", "arrow"}));
}

// The database item of a restore with the Nth call of each kind failing,
// every process start and wait among them, over a good dump and over one
// the server refuses half-way: the run ends, the database is as before or
// fully restored (never half), a failure always reaches the log and the
// summary, no temporary folder is left, and the keepset is untouched.
TEST_F(RestoreMySqlTest, EveryFailingCallOfTheDatabaseItem)
{
    SaveThenChange();
    const RestoreRequest request = Custom(OtherRoot(), {{MySqlDatabases, true}});
    const std::string before = Content();
    for (const bool broken : {false, true}) {
        if (broken)
            BreakTheSavedDump();
        ASSERT_EQ(qztest::RunSql("UPDATE restoresuite_alarm.messages SET text = 'changed' WHERE id = 2;"
                                 "REPLACE INTO restoresuite_alarm.messages VALUES (3, 'new');"),
                  0);
        win::ResetCalls();
        Run(request);
        ASSERT_EQ(Summary(), broken ? kErrorsText : kSuccessText);
        ASSERT_EQ(Rows(), broken ? kChangedRows : kSavedRows);
        const auto points = broken ? qztest::FailurePoints(0, {win::Op::ProcessRun, win::Op::ProcessWait,
                                                                win::Op::FileRead, win::Op::FileWrite})
                                   : qztest::FailurePoints(4);
        ASSERT_GE(win::CallCount(win::Op::ProcessWait), broken ? 5u : 3u);
        const std::string dump = qztest::ReadFileText(keep_ / "mysql\\restoresuite_alarm.sql");

        for (const auto& point : points) {
            const std::string where = std::string(broken ? "broken dump, " : "") + qztest::OpName(point.first) +
                                      " #" + std::to_string(point.second);
            ASSERT_EQ(qztest::RunSql("UPDATE restoresuite_alarm.messages SET text = 'changed' WHERE id = 2;"
                                     "REPLACE INTO restoresuite_alarm.messages VALUES (3, 'new');"),
                      0);
            ASSERT_EQ(Content(), before);
            const std::size_t logBefore = LogTexts().size();
            boxes_.clear();
            win::ResetCalls();
            win::FailCall(point.first, point.second, qztest::SweepErrorCode(point.first));
            Run(request);
            win::ResetCalls();

            const Lines log = LogTexts();
            bool failureLogged = false;
            std::string runLog;
            for (std::size_t i = logBefore; i < log.size(); ++i) {
                failureLogged = failureLogged || log[i].find("FAILED") != std::string::npos;
                runLog += log[i] + "\n";
            }
            const std::string content = Content();
            const bool asBefore = content == before;
            EXPECT_TRUE(asBefore || (!broken && Rows() == kSavedRows)) << "half restored: " << where << "\n"
                                                                       << content;
            if (failureLogged || asBefore) {
                EXPECT_EQ(Summary(), kErrorsText) << where;
            }
            // Every process call's failure is seen; a call the restore
            // could do without (the Windows directory of a database-only
            // restore, the output of a program that ended well) need not be.
            if (asBefore || point.first == win::Op::ProcessRun || point.first == win::Op::ProcessWait) {
                EXPECT_TRUE(failureLogged) << where << "\n" << runLog;
            }
            EXPECT_TRUE(qztest::RestoreWorkFolders().empty() || failureLogged) << where;
            EXPECT_EQ(win::CurrentDirectory(), "Q:\\work") << where;
            EXPECT_EQ(qztest::ReadFileText(keep_ / "mysql\\restoresuite_alarm.sql"), dump) << where;
            for (const std::string& folder : qztest::RestoreWorkFolders())
                qztest::RemoveTree(folder);
        }
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
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 3u);  // check, safety dump and load of the good dump
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
