// Save runs that dump real databases of the private test server through the
// stand-in "mysqldump.exe".
#include "SaveRunFixture.h"

#include "save/SaveRun.h"
#include "support/FaultSweep.h"
#include "support/TestDatabase.h"
#include "win/CallCounter.h"

#include <windows.h>

#include <algorithm>

namespace {

class SaveRunDatabaseTest : public SaveRunTest {
protected:
    void SetUp() override
    {
        SaveRunTest::SetUp();
        QZ_REQUIRE_TEST_DATABASE();
        ASSERT_EQ(qztest::RunSql("DROP DATABASE IF EXISTS qzsave_a; DROP DATABASE IF EXISTS qzsave_b;"
                                 "CREATE DATABASE qzsave_a; CREATE DATABASE qzsave_b;"
                                 "CREATE TABLE qzsave_a.groups (id INT PRIMARY KEY, name VARCHAR(30));"
                                 "INSERT INTO qzsave_a.groups VALUES (1, 'night shift'), (2, 'day shift');"
                                 "CREATE TABLE qzsave_b.persons (id INT PRIMARY KEY, name VARCHAR(30));"
                                 "INSERT INTO qzsave_b.persons VALUES (7, 'Erika Muster');"),
                  0);
        SetConfig("MySQL", "MySQLPath", qztest::BridgeDirectory());
        SetConfig("MySQL", "UserName", "root");
        UpdateSaveSettings([](SaveSettingsRecord& s) {
            s.SaveWeb = 1;
            s.WebServerKind = 2;
            s.SaveMySql = 1;
            s.SaveDesktop = 0;
        });
    }

    void TearDown() override
    {
        if (qztest::TestDatabaseAvailable())
            qztest::RunSql("DROP DATABASE IF EXISTS qzsave_a; DROP DATABASE IF EXISTS qzsave_b;");
        SaveRunTest::TearDown();
    }

    // The dump reports, each as its wParam and text: "0 Successfully ...".
    std::vector<std::string> DumpReports() const
    {
        std::vector<std::string> lines;
        for (const auto& report : receiver_->Reports()) {
            if (report.text.find("MySQL database") != std::string::npos)
                lines.push_back(std::to_string(report.wParam) + " " + report.text);
        }
        return lines;
    }
};

}  // namespace

TEST_F(SaveRunDatabaseTest, DumpsTheNamedDatabasesAndFailsTheRunForOneThatIsMissing)
{
    SetConfig("MySQL", "SaveSpecifiedDatabases", "1");
    SetConfig("MySQL", "DumpDatabase", "qzsave_a,,qzsave_missing,qzsave_b,");

    RunSave();

    const std::string dumpA = qztest::ReadFileText(SaveDir() + "\\mysql\\qzsave_a.sql");
    EXPECT_NE(dumpA.find("CREATE TABLE `groups`"), std::string::npos);
    EXPECT_NE(dumpA.find("night shift"), std::string::npos);
    EXPECT_NE(qztest::ReadFileText(SaveDir() + "\\mysql\\qzsave_b.sql").find("Erika Muster"), std::string::npos);
    EXPECT_EQ(DumpReports(), (std::vector<std::string>{"0 Successfully dumped MySQL database: qzsave_a",
                                                       "1 Failed to dump MySQL database qzsave_missing",
                                                       "0 Successfully dumped MySQL database: qzsave_b"}));
    // The dumps are in the manifest as they stand once their program ended.
    ExpectManifestOfSavedFiles();
    EXPECT_NE(qztest::ReadFileText(SaveDir() + "\\qzkeepset.sha256").find("  mysql\\qzsave_b.sql\n"),
              std::string::npos);
    EXPECT_TRUE(LastSaveRunHadErrors());
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].caption, "Error !");
}

TEST_F(SaveRunDatabaseTest, DumpsEveryPlainDirectoryOfTheDataDirectory)
{
    // A data directory of our own whose plain sub-directories name the
    // databases; files and dot names are not databases.
    const std::string data = Root() + "\\mysqldata";
    qztest::MakeDirectories(data + "\\qzsave_a");
    qztest::MakeDirectories(data + "\\qzsave_b");
    qztest::MakeDirectories(data + "\\.hidden_db");
    qztest::WriteFileText(data + "\\ibdata1", "x");
    SetConfig("MySQL", "SaveSpecifiedDatabases", "0");
    SetConfig("MySQL", "MySQLDataPath", data);

    win::ResetCalls();
    RunSave();

    EXPECT_TRUE(qztest::Exists(SaveDir() + "\\mysql\\qzsave_a.sql"));
    EXPECT_TRUE(qztest::Exists(SaveDir() + "\\mysql\\qzsave_b.sql"));
    EXPECT_FALSE(qztest::Exists(SaveDir() + "\\mysql\\.hidden_db.sql"));
    EXPECT_FALSE(qztest::Exists(SaveDir() + "\\mysql\\ibdata1.sql"));
    EXPECT_EQ(DumpReports().size(), 2u);
    EXPECT_FALSE(LastSaveRunHadErrors());
    EXPECT_EQ(Section("qzkeepset.ini", "Save1")["SaveMySql"], "1");

    // A data directory the system cannot read is no "no databases": the
    // run's last search is that of the data directory.
    const unsigned long searches = win::CallCount(win::Op::FindFirst);
    win::ResetCalls();
    win::FailCall(win::Op::FindFirst, searches, ERROR_ACCESS_DENIED);
    RunSave();
    win::ResetCalls();
    EXPECT_TRUE(LastSaveRunHadErrors());
    const std::vector<std::string> texts = ReportTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(),
                        "FAILED to save the files of " + data + ": the directory cannot be read (error 5) !"),
              texts.end());
}

TEST_F(SaveRunDatabaseTest, NoDataDirectoryAnywhereSavesNoDatabaseAndSaysWhy)
{
    SetConfig("MySQL", "SaveSpecifiedDatabases", "0");
    SetConfig("MySQL", "MySQLPath", "");  // nothing to derive a data directory from

    RunSave();

    EXPECT_TRUE(DumpReports().empty());
    bool said = false;
    for (const auto& line : LogLines())
        said = said || line.find("No MySQL data directory found") != std::string::npos;
    EXPECT_TRUE(said);
}

// The dumps of a save with a password, each start, wait, option file and
// delete failing in turn: the run ends with the error outcome when a dump
// failed, no option file stays behind, and nothing of the password reaches
// the list or the run log.
TEST_F(SaveRunDatabaseTest, EveryFailingCallAroundTheDumpsWithAPassword)
{
    const char password[] = "se cret&\"pw\"";
    ASSERT_EQ(qztest::RunSql("DROP USER IF EXISTS 'qzsave'@'localhost';"
                             "CREATE USER 'qzsave'@'localhost' IDENTIFIED BY 'se cret&\"pw\"';"
                             "GRANT ALL ON qzsave_a.* TO 'qzsave'@'localhost';"
                             "GRANT ALL ON qzsave_b.* TO 'qzsave'@'localhost';"),
              0);
    SetConfig("MySQL", "UserName", "qzsave");
    SetConfig("MySQL", "Password", password);
    SetConfig("MySQL", "SaveSpecifiedDatabases", "1");
    SetConfig("MySQL", "DumpDatabase", "qzsave_a,qzsave_b");
    UpdateSaveSettings([](SaveSettingsRecord& s) { s.Unattended = 1; });
    char temporary[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temporary, temporary);
    const std::string optionFiles = std::string(temporary) + "qzk*.cnf";
    const auto noOptionFile = [&]() {
        WIN32_FIND_DATAA data;
        HANDLE found = FindFirstFileA(optionFiles.c_str(), &data);
        if (found != INVALID_HANDLE_VALUE)
            FindClose(found);
        return found == INVALID_HANDLE_VALUE;
    };

    RunSave();
    ASSERT_FALSE(LastSaveRunHadErrors());
    ASSERT_EQ(DumpReports().size(), 2u);
    const auto points = qztest::FailurePoints(
        4, {win::Op::ProcessRun, win::Op::ProcessWait, win::Op::FileWrite, win::Op::FileDelete});
    ASSERT_GE(points.size(), 6u);
    EXPECT_TRUE(noOptionFile());

    for (const auto& point : points) {
        const std::string where = std::string(qztest::OpName(point.first)) + " #" + std::to_string(point.second);
        win::ResetCalls();
        win::FailCall(point.first, point.second, qztest::SweepErrorCode(point.first));
        RunSave();
        win::ResetCalls();
        if (point.first != win::Op::FileDelete) {
            EXPECT_TRUE(LastSaveRunHadErrors()) << where;
        }
        EXPECT_TRUE(noOptionFile()) << where;
    }
    for (const auto& line : LogLines())
        EXPECT_EQ(line.find("se cret"), std::string::npos) << line;
    for (const auto& text : ReportTexts())
        EXPECT_EQ(text.find("se cret"), std::string::npos) << text;
    qztest::RunSql("DROP USER IF EXISTS 'qzsave'@'localhost'");
}
