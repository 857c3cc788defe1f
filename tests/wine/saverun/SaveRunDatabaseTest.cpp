// Save runs that dump real databases of the private test server through the
// stand-in "mysqldump.exe".
#include "SaveRunFixture.h"

#include "save/SaveRun.h"
#include "support/TestDatabase.h"

#include <windows.h>

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

    RunSave();

    EXPECT_TRUE(qztest::Exists(SaveDir() + "\\mysql\\qzsave_a.sql"));
    EXPECT_TRUE(qztest::Exists(SaveDir() + "\\mysql\\qzsave_b.sql"));
    EXPECT_FALSE(qztest::Exists(SaveDir() + "\\mysql\\.hidden_db.sql"));
    EXPECT_FALSE(qztest::Exists(SaveDir() + "\\mysql\\ibdata1.sql"));
    EXPECT_EQ(DumpReports().size(), 2u);
    EXPECT_FALSE(LastSaveRunHadErrors());
    EXPECT_EQ(Section("qzkeepset.ini", "Save1")["SaveMySql"], "1");
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
