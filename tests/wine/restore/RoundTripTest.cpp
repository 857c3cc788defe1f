// A real save run into a keepset, the installation changed, and the keepset
// restored from its list entry: every file is back as it was saved.
#include "RestoreFixture.h"

#include "config/SaveSettings.h"
#include "save/SaveRun.h"
#include "support/ReportReceiver.h"
#include "support/TestDatabase.h"
#include "support/WideNames.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

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

// Names in several scripts, in UTF-8: Chinese, Greek, Cyrillic, Arabic and an
// emoji. The prefix's ANSI code page is Windows-1252 (Wine takes it from the
// locale, en-US here), which carries none of them but does carry "é".
const std::string kChinese = "\xe5\xad\x90";                             // 子
const std::string kChineseFolder = "\xe5\xad\x90\xe7\x9b\xae\xe5\xbd\x95";  // 子目录
const std::string kGreek = "\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1";   // Ωμέγα
const std::string kCyrillic = "\xd1\x84\xd0\xb0\xd0\xb9\xd0\xbb";        // файл
const std::string kArabic = "\xd9\x85\xd9\x84\xd9\x81";                  // ملف
const std::string kEmoji = "\xf0\x9f\x94\x94";                           // a bell
const std::string kUsers = "\xe7\x94\xa8\xe6\x88\xb7";                   // 用户

// A UTF-8 name as reports and logs show it in Windows-1252: ASCII and "é"
// as they are, every other UTF-16 unit "?" (no look-alike: "Ω" is no "O").
std::string ShownIn1252(const std::string& utf8)
{
    std::string shown;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (length == 1)
            shown += utf8[i];
        else if (utf8.compare(i, 2, "\xc3\xa9") == 0)
            shown += '\xe9';
        else
            shown += length == 4 ? "??" : "?";
        i += length;
    }
    return shown;
}

bool HoldsControlCharacter(const std::string& text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20)
            return true;
    }
    return false;
}

// A save of an installation whose files, folders and desktop folders have
// such names, the installation changed, and the real restore run: every
// file is back under its own name with its own bytes. The list and the
// log name them as the system's ANSI calls do, "?" for what the code page
// lacks.
TEST_F(RoundTripTest, NamesInEveryScriptAreSavedAndComeBackByteForByte)
{
    ASSERT_EQ(GetACP(), 1252u) << "the expected forms below are those of Windows-1252";
    const std::string binary("\0\x01\x02\r\n\xff", 6);
    const std::vector<std::string> toolNames = {kChinese + ".txt", kGreek + ".ini", "caf\xc3\xa9-" + kCyrillic + ".csv",
                                                kArabic + ".bat", kEmoji + ".cmd"};
    for (const std::string& name : toolNames)
        qztest::WriteFileUtf8(install_ / ("qzt\\" + name), name + binary);
    qztest::WriteFileUtf8(install_ / ("dbv1\\" + kCyrillic + ".wav"), "voice" + binary);
    qztest::WriteFileUtf8(install_ / ("extra\\" + kArabic + kEmoji + ".bin"), "additional" + binary);
    qztest::WriteFileUtf8(install_ / ("qz_web\\htdocs\\" + kGreek + ".php"), "<?php // greek");
    qztest::WriteFileUtf8(install_ / ("qz_web\\htdocs\\inc\\" + kChineseFolder + "\\" + kChinese + ".php"), "deep");
    qztest::WriteFileUtf8(install_ / ("qz_web\\htdocs\\inc\\" + kCyrillic + "\\" + kEmoji + ".php"), "emoji");
    // The user's desktop lies below a folder named in four scripts, more
    // than 100 characters long; the shell writes such a path in wide
    // characters.
    const std::string userDesktop = desktops_ / (kUsers + " " + kGreek + " " + kArabic + " " + kEmoji + "\\" +
                                                 std::string(60, 'd') + "\\Desktop");
    ASSERT_GE(qztest::WideOf(userDesktop).size(), 100u);
    const std::string commonDesktop = desktops_ / ("all " + kCyrillic);
    qztest::WriteFileUtf8(userDesktop + "\\" + kChinese + ".lnk", "user link" + binary);
    qztest::WriteFileUtf8(userDesktop + "\\Alarm " + kEmoji + ".lnk", "alarm link");
    qztest::WriteFileUtf8(commonDesktop + "\\" + kArabic + ".lnk", "common link");
    qztest::SetRegistryStringUtf8(false, kShellFolders, "Desktop", userDesktop);
    qztest::SetRegistryStringUtf8(true, kShellFolders, "Common Desktop", commonDesktop);
    UpdateSaveSettings([](SaveSettingsRecord& s) {
        s.SaveWeb = 1;
        s.WebServerKind = 2;
    });
    const auto installed = [&] {
        std::map<std::string, std::map<std::string, std::string>> files;
        for (const char* directory : {"qzt", "dbv1", "extra", "qz_web\\htdocs"})
            files[directory] = qztest::FilesUtf8(install_ / directory);
        files["user's desktop"] = qztest::FilesUtf8(userDesktop);
        files["all users' desktop"] = qztest::FilesUtf8(commonDesktop);
        return files;
    };
    const auto saved = installed();
    ASSERT_EQ(saved.at("qzt").size(), toolNames.size() + 5);

    SaveRun();

    ASSERT_EQ(receiver_.EndMessages(), 1);
    std::vector<std::string> reports;
    for (const auto& report : receiver_.Reports()) {
        EXPECT_EQ(report.wParam, 0u) << report.text;
        EXPECT_FALSE(HoldsControlCharacter(report.text)) << report.text;
        reports.push_back(report.text);
    }
    const auto reported = [&reports](const std::string& line) {
        return std::find(reports.begin(), reports.end(), line) != reports.end();
    };
    // Each name with "?" for what the code page lacks.
    const std::string keep = saveDirectory_.Path();
    for (const std::string& name : toolNames) {
        const std::string shown = ShownIn1252(name);
        EXPECT_TRUE(reported("Q:\\qzt\\" + shown + " saved to " + keep + "\\qzt\\" + shown)) << shown;
    }
    EXPECT_TRUE(reported("Q:\\qzt\\?.txt saved to " + keep + "\\qzt\\?.txt"));
    EXPECT_TRUE(reported(ShownIn1252(userDesktop) + "\\?.lnk saved to " + keep +
                         "\\desktop\\user\\?.lnk"));
    // The htdocs sub-directories are saved with the rest (a restore leaves
    // sub-directories out).
    const auto tree = qztest::TreeUtf8(keep + "\\web\\htdocs\\inc");
    EXPECT_EQ(tree, (std::map<std::string, std::string>{
                        {kChineseFolder + "\\", ""},
                        {kChineseFolder + "\\" + kChinese + ".php", "deep"},
                        {kCyrillic + "\\", ""},
                        {kCyrillic + "\\" + kEmoji + ".php", "emoji"}}));

    for (const std::string& name : toolNames)
        qztest::WriteFileUtf8(install_ / ("qzt\\" + name), "changed");
    qztest::WriteFileUtf8(install_ / ("dbv1\\" + kCyrillic + ".wav"), "re-recorded");
    qztest::RemoveTree(install_ / "extra");
    qztest::RemoveTree(install_ / "qz_web\\htdocs");
    qztest::WriteFileUtf8(userDesktop + "\\" + kChinese + ".lnk", "moved");
    qztest::WriteFileUtf8(commonDesktop + "\\" + kArabic + ".lnk", "moved");
    ASSERT_NE(installed(), saved);
    qztest::MakeDirectories(install_ / "extra");
    qztest::MakeDirectories(install_ / "qz_web\\htdocs");

    EXPECT_TRUE(Run(FirstListEntry()));

    EXPECT_EQ(installed(), saved);
    EXPECT_EQ(Summary(), kSuccessText);
    EXPECT_TRUE(Logged(keep + ".\\qzt\\?.txt restored to \\qzt\\?.txt"));
    for (const std::string& text : LogTexts())
        EXPECT_FALSE(HoldsControlCharacter(text)) << text;
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
    const std::vector<std::string> safetyDumps = qztest::SafetyDumps(data.Path(), "restoresuite_trip");
    ASSERT_EQ(safetyDumps.size(), 1u);
    const std::string safetyDump = qztest::ReadFileText(data / safetyDumps[0]);
    EXPECT_NE(safetyDump.find("(2,'changed')"), std::string::npos);
    EXPECT_NE(safetyDump.find("(3,'new')"), std::string::npos);
    EXPECT_NE(safetyDump.find("-- Dump completed"), std::string::npos);
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 3u);  // the check, the safety dump, then the load
    EXPECT_EQ(LoggedLinesStartingWith("Restore MySQL database with command: " + qztest::BridgeDirectory() +
                                      ".\\mysql.exe -u root < "),
              1u);
    EXPECT_EQ(win::CurrentDirectory(), "Q:\\work");
    EXPECT_EQ(Summary(), kSuccessText);
    qztest::RunSql("DROP DATABASE IF EXISTS restoresuite_trip");
}

}  // namespace
}  // namespace restoretest
