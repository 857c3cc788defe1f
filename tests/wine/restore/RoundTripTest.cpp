// A real save run into a keepset, the installation changed, and the keepset
// restored from its list entry: every file is back as it was saved.
#include "RestoreFixture.h"

#include "config/SaveSettings.h"
#include "save/SaveRun.h"
#include "support/ReportReceiver.h"
#include "support/TestDatabase.h"

#include <windows.h>

#include <map>
#include <string>

namespace restoretest {
namespace {

using Files = std::map<std::string, std::string>;

// The plain files directly inside a directory, by name, with their bytes.
Files FilesIn(const std::string& directory)
{
    Files files;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            files[data.cFileName] = qztest::ReadFileText(directory + "\\" + data.cFileName);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return files;
}

class RoundTripTest : public RestoreTest {
protected:
    void SetUp() override
    {
        RestoreTest::SetUp();
        // An installation on Q: as the save run finds it.
        const std::string binary("\0\x01\x02\r\n\x1a\xfe\xff", 8);
        for (const char* name : {"qztini.dbf", "module.qze", "run.bat", "tool.ini", "plan.csv"})
            qztest::WriteFileText(install_ / (std::string("qzt\\") + name), name + binary);
        qztest::WriteFileText(install_ / "db1\\vm001.dbf", "alarm configuration" + binary);
        qztest::WriteFileText(install_ / "db1\\qzgroups.dbf", "groups");
        qztest::WriteFileText(install_ / "db1\\qzpersonal.dbf", "personnel");
        qztest::WriteFileText(install_ / "dbv1\\v0012_1.vox", "voice" + binary);
        qztest::WriteFileText(install_ / "dbv1\\mail.eml", "mail");
        qztest::WriteFileText(install_ / "extra\\data.bin", "additional" + binary);
        qztest::WriteFileText(desktops_ / "all\\Common.lnk", "common link");
        qztest::WriteFileText(desktops_ / "user\\Alarm.lnk", "user link");
        qztest::WriteProfileFile(WindowsFile("qzpers.ini"), "[DBInfo]\r\nPers=qzpersonal.dbf\r\nGroup=qzgroups.dbf\r\n");
        qztest::WriteProfileFile(WindowsFile("qzrestoretest.ini"), "[Alarm]\r\nLines=4\r\n");
        qztest::WriteProfileFile(WindowsFile("vmqzt.ini"), "[VM]\r\nPort=1\r\n");
        Config("[Config]\r\nWebHtdocsPath=Q:\\qz_web\\htdocs\r\n");

        ResetSaveSettings();
        UpdateSaveSettings([this](SaveSettingsRecord& s) {
            s.InstallDrive = "Q:";
            s.SaveDir = saveDirectory_.Path();
            s.LogPath = "log\\qzkeepset.log";
            s.MainWindow = receiver_.Window();
            s.SaveMSG = 1;
            s.SaveDesktop = 1;
            s.AciveSaveFiles1 = 1;
            s.SaveFiles1 = "Q:\\extra";
        });
    }

    void TearDown() override
    {
        ResetSaveSettings();
        RestoreTest::TearDown();
    }

    // What the restore is to bring back, as it is now.
    std::map<std::string, Files> Installation()
    {
        std::map<std::string, Files> installation;
        for (const char* directory : {"qzt", "db1", "dbv1", "extra", "qz_web\\htdocs"})
            installation[directory] = FilesIn(install_ / directory);
        installation["all users' desktop"] = FilesIn(desktops_ / "all");
        installation["user's desktop"] = FilesIn(desktops_ / "user");
        for (const char* name : {"qzpers.ini", "qzrestoretest.ini", "vmqzt.ini", "qzkeepset.ini"})
            installation["Windows directory"][name] = qztest::ReadFileText(WindowsFile(name));
        return installation;
    }

    // Work done after the save that the restore undoes.
    void ChangeTheInstallation()
    {
        qztest::WriteFileText(install_ / "qzt\\tool.ini", "changed");
        qztest::RemoveTree(install_ / "db1\\vm001.dbf");
        qztest::WriteFileText(install_ / "dbv1\\v0012_1.vox", "re-recorded");
        qztest::RemoveTree(install_ / "extra\\data.bin");
        qztest::WriteFileText(desktops_ / "user\\Alarm.lnk", "moved link");
        qztest::WriteProfileFile(WindowsFile("qzrestoretest.ini"), "[Alarm]\r\nLines=9\r\n");
    }

    static RestoreRequest FirstListEntry()
    {
        RestoreRequest request;
        request.recordFile = "qzkeepset.ini";
        request.recordSection = "Save1";
        return request;
    }

    qztest::ScratchFolder saveDirectory_{"restore-roundtrip-keep"};
    qztest::ReportReceiver receiver_;
};

TEST_F(RoundTripTest, TheFilesComeBackAsTheyWereSaved)
{
    SaveRun();
    ASSERT_EQ(receiver_.EndMessages(), 1);
    const std::map<std::string, Files> saved = Installation();
    ASSERT_EQ(saved.at("qzt").size(), 5u);
    ChangeTheInstallation();
    ASSERT_NE(Installation(), saved);

    EXPECT_TRUE(Run(FirstListEntry()));

    EXPECT_EQ(Installation(), saved);
    // The configuration file in use, with the entry of this very save, stays.
    EXPECT_TRUE(Logged("Kept the file in use: " + WindowsFile("qzkeepset.ini") + " (not replaced by " +
                       saveDirectory_.Path() + ".\\win\\qzkeepset.ini)"));
    EXPECT_EQ(Summary(), kSuccessText);
    EXPECT_EQ(host_.events, (Lines{"wait", "arrow", "close"}));
}

// The save run's own dumps, the web server's files and the rest, with the
// database changed after the save. The rows come back, and the rows they
// replaced are in the safety dump, which had therefore ended before the
// load began.
TEST_F(RoundTripTest, ADatabaseComesBackWithTheFiles)
{
    QZ_REQUIRE_TEST_DATABASE();
    ASSERT_EQ(qztest::RunSql("DROP DATABASE IF EXISTS restoresuite_trip; CREATE DATABASE restoresuite_trip;"
                             "CREATE TABLE restoresuite_trip.plans (id INT PRIMARY KEY, name VARCHAR(40));"
                             "INSERT INTO restoresuite_trip.plans VALUES (1, 'week plan'), (2, 'day plan');"),
              0);
    qztest::ScratchFolder data("restore-roundtrip-data");
    Config("[Config]\r\nWebHtdocsPath=Q:\\qz_web\\htdocs\r\n[MySQL]\r\nMySQLPath=" + qztest::BridgeDirectory() +
           "\r\nMySQLDataPath=" + data.Path() +
           "\r\nUserName=root\r\nSaveSpecifiedDatabases=1\r\nDumpDatabase=restoresuite_trip,\r\n");
    qztest::WriteFileText(install_ / "qz_web\\htdocs\\index.php", "<?php echo 1; ?>");
    qztest::WriteFileText(install_ / "qz_web\\htdocs\\inc\\lib.php", "<?php ?>");
    UpdateSaveSettings([](SaveSettingsRecord& s) {
        s.SaveWeb = 1;
        s.WebServerKind = 2;
        s.SaveMySql = 1;
    });

    SaveRun();
    const std::map<std::string, Files> saved = Installation();
    ChangeTheInstallation();
    qztest::WriteFileText(install_ / "qz_web\\htdocs\\index.php", "<?php echo 2; ?>");
    ASSERT_EQ(qztest::RunSql("UPDATE restoresuite_trip.plans SET name = 'changed' WHERE id = 2;"
                             "INSERT INTO restoresuite_trip.plans VALUES (3, 'new');"),
              0);
    win::ResetCalls();

    EXPECT_TRUE(Run(FirstListEntry()));

    EXPECT_EQ(Installation(), saved);
    EXPECT_EQ(qztest::QuerySql("SELECT id, name FROM restoresuite_trip.plans ORDER BY id"),
              "1\tweek plan\n2\tday plan\n");
    const std::string safetyDump = qztest::ReadFileText(data / "restoresuite_trip.bkp");
    EXPECT_NE(safetyDump.find("(2,'changed')"), std::string::npos);
    EXPECT_NE(safetyDump.find("(3,'new')"), std::string::npos);
    EXPECT_NE(safetyDump.find("-- Dump completed"), std::string::npos);
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 2u);  // the safety dump, then the load
    EXPECT_TRUE(Logged("Restore MySQL database with command: " + qztest::BridgeDirectory() +
                       ".\\mysql.exe -u root -e\"source restoresuite_trip.sql\""));
    EXPECT_EQ(win::CurrentDirectory(), "Q:\\work");
    EXPECT_EQ(Summary(), kSuccessText);
    qztest::RunSql("DROP DATABASE IF EXISTS restoresuite_trip");
}

}  // namespace
}  // namespace restoretest
