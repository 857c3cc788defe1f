// Whole save runs on a worker thread against a prepared installation.
#include "SaveRunFixture.h"

#include "config/ProfileFileUpdate.h"
#include "save/SaveRun.h"
#include "support/FaultSweep.h"
#include "win/CallCounter.h"

#include <windows.h>

#include <algorithm>

namespace {

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The text after the "dd.mm.yyyy, hh:mm:ss, " stamp of a log line.
std::string LogText(const std::string& line)
{
    return line.size() >= 22 ? line.substr(22) : std::string();
}

}  // namespace

TEST_F(SaveRunTest, FullSaveLaysOutTheKeepsetReportsEveryFileAndLeavesItsRecord)
{
    SetConfig("Config", "WebHtdocsPath", "D:\\Web\\htdocs");
    SetConfig("Config", "HtdocsSubDirToSave", "Include,tools,");
    qztest::WriteFileText(Root() + "\\d\\Web\\htdocs\\index.php", "<?php");
    qztest::WriteFileText(Root() + "\\d\\Web\\htdocs\\style.css", "css");
    qztest::WriteFileText(Root() + "\\d\\Web\\htdocs\\include\\db.php", "inc");
    qztest::WriteFileText(Root() + "\\d\\Web\\htdocs\\include\\deep\\x.php", "deep");
    qztest::WriteFileText(Root() + "\\d\\Web\\htdocs\\ini\\site.ini", "ini");
    qztest::WriteFileText(Root() + "\\d\\Web\\htdocs\\tools\\t.php", "tools");
    qztest::WriteFileText(Root() + "\\d\\Web\\htdocs\\other\\o.php", "other");
    qztest::WriteFileText(Root() + "\\d\\extra\\data.txt", "extra");
    qztest::MapDrive('D', Root() + "\\d");
    UpdateSaveSettings([](SaveSettingsRecord& s) {
        s.SaveMSG = 1;
        s.SaveWeb = 1;
        s.WebServerKind = 2;
        s.SaveSubHtdocs = 1;
        s.AciveSaveFiles2 = 1;
        s.SaveFiles2 = "D:\\extra";
        s.SaveFiles1 = "D:\\not-active";
    });

    RunSave();

    std::string allReports;
    for (const auto& r : ReportTexts()) allReports += r + "\n";
    SCOPED_TRACE(allReports);
    EXPECT_EQ(SavedTree(), (std::vector<std::string>{
        "db1\\", "db1\\qzgroups.dbf", "db1\\qzpersonal.dbf", "db1\\vm001.dbf",
        "dbv1\\", "dbv1\\mail.eml", "dbv1\\v0012_1.vox", "dbv1\\v0012_2.vox", "dbv1\\v0013_1.wav",
        "dbv1\\v0013_2.wav",
        "desktop\\", "desktop\\all\\", "desktop\\all\\Common.lnk", "desktop\\user\\", "desktop\\user\\Alarm.lnk",
        "extra\\", "extra\\data.txt",
        "qzkeepset.inf", "qzkeepset.sha256", "qzkeepset.size",
        "qzt\\", "qzt\\logo.bmp", "qzt\\module.qze", "qzt\\plan.csv", "qzt\\qz1post.txt", "qzt\\qztbatch.dbf",
        "qzt\\qztini.dbf", "qzt\\qztque.dbf", "qzt\\readme.rtf", "qzt\\run.bat", "qzt\\run.cmd", "qzt\\tool.ini",
        "web\\", "web\\htdocs\\", "web\\htdocs\\include\\", "web\\htdocs\\include\\db.php",
        "web\\htdocs\\include\\deep\\", "web\\htdocs\\include\\deep\\x.php", "web\\htdocs\\index.php",
        "web\\htdocs\\ini\\", "web\\htdocs\\ini\\site.ini", "web\\htdocs\\tools\\", "web\\htdocs\\tools\\t.php",
        "win\\", "win\\qzalarm.ini", "win\\qzkeepset.ini", "win\\qzpers.ini", "win\\setupal.ini",
        "win\\vmqzt.ini"}));
    EXPECT_EQ(qztest::ReadFileText(SaveDir() + "\\db1\\vm001.dbf"), "alarm configuration");

    // Every report is a success line, and the order follows the steps.
    const auto reports = ReportTexts();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), "Q:\\db1\\vm001.dbf saved to " + SaveDir() + "\\db1\\vm001.dbf");
    EXPECT_EQ(reports[1], "Q:\\db1\\qzpersonal.dbf saved to " + SaveDir() + "\\db1\\qzpersonal.dbf");
    EXPECT_EQ(reports[2], "Q:\\db1\\qzgroups.dbf saved to " + SaveDir() + "\\db1\\qzgroups.dbf");
    EXPECT_EQ(reports.back(), "D:\\extra.\\data.txt saved to " + SaveDir() + ".\\extra.\\data.txt");
    for (const auto& report : receiver_->Reports())
        EXPECT_EQ(report.wParam, 0u) << report.text;
    // A file matching two patterns of the tool directory is copied and reported twice.
    const std::string twice = "Q:\\qzt\\qz1post.txt saved to " + SaveDir() + "\\qzt\\qz1post.txt";
    EXPECT_EQ(std::count(reports.begin(), reports.end(), twice), 2);
    EXPECT_EQ(receiver_->ListLines(), reports);
    EXPECT_EQ(receiver_->EndMessages(), 1);
    EXPECT_EQ(receiver_->Sequence().back(), "end");

    // The run log: banner (two line breaks, 121 asterisks, two line
    // breaks), start line, one line per report, empty line, final text.
    const auto log = LogLines();
    ASSERT_EQ(log.size(), reports.size() + 7);
    EXPECT_EQ(log[0], "");
    EXPECT_EQ(log[1], "");
    EXPECT_EQ(log[2], std::string(121, '*'));
    EXPECT_EQ(log[3], "");
    EXPECT_EQ(LogText(log[4]), "Start Keepset");
    for (std::size_t i = 0; i < reports.size(); ++i)
        EXPECT_EQ(LogText(log[5 + i]), reports[i]);
    EXPECT_EQ(log[log.size() - 2], "");
    EXPECT_EQ(LogText(log.back()), "All data successfully saved");

    // One information box, no warning.
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].caption, "Information");
    EXPECT_EQ(boxes_[0].style, 0x40u);
    EXPECT_EQ(boxes_[0].owner, receiver_->Window());  // not ownerless behind the main window
    EXPECT_EQ(boxes_[0].text.substr(0, 41), "The relevant data was successfully saved.");
    EXPECT_FALSE(LastSaveRunHadErrors());

    // The keepset record, in the list and in the directory.
    auto entry = Section("qzkeepset.ini", "Save1");
    EXPECT_EQ(entry["Path"], SaveDir());
    EXPECT_EQ(entry["SaveMsg"], "1");
    EXPECT_EQ(entry["SaveDesktop"], "1");
    EXPECT_EQ(entry["SaveWeb"], "1");
    EXPECT_EQ(entry["SaveMySql"], "0");
    EXPECT_EQ(entry["SaveAdd1"], "");
    EXPECT_EQ(entry["SaveAdd2"], "D:\\extra");
    auto record = Section(SaveDir() + ".\\qzkeepset.inf", "Save");
    EXPECT_EQ(record.count("SaveMySql"), 0u);
    EXPECT_EQ(record["SaveAdd2"], "D:\\extra");
    EXPECT_EQ(entry["State"], "complete");
    EXPECT_EQ(record["State"], "complete");
    // The manifest: every file saved, once, checked by the checksum tool.
    ExpectManifestOfSavedFiles();
}

TEST_F(SaveRunTest, MissingAlarmDatabaseEndsWithTheErrorOutcomeAndStillWritesTheRecord)
{
    qztest::RemoveTree(Install() + "\\db1\\vm001.dbf");

    RunSave();

    ASSERT_FALSE(receiver_->Reports().empty());
    const auto& first = receiver_->Reports().front();
    EXPECT_EQ(first.wParam, 1u);
    EXPECT_EQ(first.text, "FAILED to save Q:\\db1\\vm001.dbf to " + SaveDir() + "\\db1\\vm001.dbf !");
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].caption, "Error !");
    EXPECT_EQ(boxes_[0].style, 0x30u);
    EXPECT_EQ(boxes_[0].owner, receiver_->Window());
    EXPECT_EQ(boxes_[0].text, "An error occurred while saving the data !\n"
                              "Please check the messages in the listbox for further information.");
    EXPECT_EQ(receiver_->SelectedLine(), 0) << "the first FAILED line is selected";
    EXPECT_EQ(LogText(LogLines().back()), "ERRORS while saving data");
    EXPECT_TRUE(LastSaveRunHadErrors());
    EXPECT_EQ(Section("qzkeepset.ini", "Save1")["Path"], SaveDir());
    EXPECT_EQ(Section("qzkeepset.ini", "Save1")["State"], "errors");
    EXPECT_EQ(Section(SaveDir() + "\\qzkeepset.inf", "Save")["State"], "errors");
    ExpectManifestOfSavedFiles();
}

TEST_F(SaveRunTest, ADirectoryThatCannotBeCreatedIsAFailureOfTheRun)
{
    // Nothing was to go into it: the directory alone fails.
    qztest::RemoveTree(Root() + "\\alldesk\\Common.lnk");
    for (const char* directory : {"db1", "win", "qzt", "desktop\\user"})
        qztest::MakeDirectories(SaveDir() + "\\" + directory);
    win::FailCall(win::Op::DirectoryCreate, 1, ERROR_DISK_FULL);

    RunSave();

    const std::string text = "Failed to create directory " + SaveDir() + "\\desktop\\all !";
    std::vector<std::string> failures;
    for (const auto& report : receiver_->Reports()) {
        if (report.wParam == 1)
            failures.push_back(report.text);
    }
    EXPECT_EQ(failures, std::vector<std::string>{text});
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].text, text);
    EXPECT_EQ(boxes_[1].text.substr(0, 41), "An error occurred while saving the data !");
    EXPECT_TRUE(LastSaveRunHadErrors());
    EXPECT_EQ(LogText(LogLines().back()), "ERRORS while saving data");
}

TEST_F(SaveRunTest, CreatesSeveralMissingLevelsAndRunsWithoutALogDirectory)
{
    // Each level is a name as it stands: nothing is expanded or run.
    SetSaveDir(Root() + "\\a b\\c&d\\%USERNAME%\\keep");
    qztest::RemoveTree(Root() + "\\work\\log");

    RunSave();

    EXPECT_TRUE(qztest::Exists(SaveDir() + "\\db1\\vm001.dbf"));
    EXPECT_TRUE(qztest::Exists(Root() + "\\a b\\c&d\\%USERNAME%\\keep\\db1\\vm001.dbf"));
    EXPECT_FALSE(qztest::Exists(Root() + "\\work\\log"));
    EXPECT_FALSE(receiver_->Reports().empty());
    EXPECT_FALSE(LastSaveRunHadErrors());
}

TEST_F(SaveRunTest, AlarmMessagesOnlySavesAlarmVoiceFilesAndEveryMail)
{
    UpdateSaveSettings([](SaveSettingsRecord& s) {
        s.SaveMSG = 1;
        s.OnlySaveAlrMSG = 1;
    });

    RunSave();

    EXPECT_TRUE(qztest::Exists(SaveDir() + "\\dbv1\\v0012_1.vox"));
    EXPECT_FALSE(qztest::Exists(SaveDir() + "\\dbv1\\v0012_2.vox"));
    EXPECT_TRUE(qztest::Exists(SaveDir() + "\\dbv1\\v0013_1.wav"));
    EXPECT_FALSE(qztest::Exists(SaveDir() + "\\dbv1\\v0013_2.wav"));
    EXPECT_TRUE(qztest::Exists(SaveDir() + "\\dbv1\\mail.eml"));
    EXPECT_FALSE(qztest::Exists(SaveDir() + "\\dbv1\\note.txt"));
}

TEST_F(SaveRunTest, WebStepNeedsAWebServerButTheRecordStatesTheSettings)
{
    UpdateSaveSettings([](SaveSettingsRecord& s) {
        s.SaveWeb = 1;
        s.SaveMySql = 1;
        s.WebServerKind = 0;
        s.SaveDesktop = 0;
    });

    RunSave();

    EXPECT_FALSE(qztest::Exists(SaveDir() + "\\web"));
    EXPECT_FALSE(qztest::Exists(SaveDir() + "\\mysql"));
    EXPECT_FALSE(qztest::Exists(SaveDir() + "\\desktop"));
    auto entry = Section("qzkeepset.ini", "Save1");
    EXPECT_EQ(entry["SaveWeb"], "1");
    EXPECT_EQ(entry["SaveMySql"], "1");
    EXPECT_EQ(entry["SaveDesktop"], "0");
    EXPECT_EQ(Section(SaveDir() + "\\qzkeepset.inf", "Save").count("SaveDesktop"), 0u);
}

TEST_F(SaveRunTest, OwnWebLayoutSavesIncAndTheServerConfiguration)
{
    SetConfig("Config", "WebHtdocsPath", "d:\\qz_web\\htdocs\\");
    qztest::WriteFileText(Root() + "\\d\\qz_web\\htdocs\\main.php", "main");
    qztest::WriteFileText(Root() + "\\d\\qz_web\\htdocs\\inc\\lib.php", "lib");
    qztest::WriteFileText(Root() + "\\d\\qz_web\\htdocs\\include\\not.php", "not");
    qztest::WriteFileText(Root() + "\\d\\qz_web\\conf\\httpd.conf", "conf");
    qztest::MapDrive('D', Root() + "\\d");
    UpdateSaveSettings([](SaveSettingsRecord& s) {
        s.SaveWeb = 1;
        s.WebServerKind = 2;
    });

    RunSave();

    EXPECT_TRUE(qztest::Exists(SaveDir() + "\\web\\htdocs\\main.php"));
    EXPECT_TRUE(qztest::Exists(SaveDir() + "\\web\\htdocs\\inc\\lib.php"));
    EXPECT_FALSE(qztest::Exists(SaveDir() + "\\web\\htdocs\\include"));
    EXPECT_EQ(qztest::ReadFileText(SaveDir() + "\\web\\conf\\httpd.conf"), "conf");
}

TEST_F(SaveRunTest, DesktopValueMissingLeavesThatHalfOutWithALogLine)
{
    qztest::DeleteRegistryTree(false, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    qztest::SetRegistryString(false, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                              "Other", "x");

    RunSave();

    EXPECT_FALSE(qztest::Exists(SaveDir() + "\\desktop\\user"));
    EXPECT_TRUE(qztest::Exists(SaveDir() + "\\desktop\\all\\Common.lnk"));
    std::vector<std::string> texts;
    for (const auto& line : LogLines())
        texts.push_back(LogText(line));
    EXPECT_TRUE(Contains(texts, "Desktop folder \"Desktop\" not found in the registry, not saved"));
    EXPECT_FALSE(LastSaveRunHadErrors());
}

TEST_F(SaveRunTest, UnattendedRunRaisesNoBoxAndLogsTheWarnings)
{
    // Nobody is there to close a box: the warnings go to the run log, the
    // run goes on and its end message still comes.
    qztest::RemoveTree(Install() + "\\db1\\vm001.dbf");
    // The first creation is the save directory's own; the second, of db1, fails.
    win::FailCall(win::Op::DirectoryCreate, 2, ERROR_ACCESS_DENIED);
    UpdateSaveSettings([](SaveSettingsRecord& s) { s.Unattended = 1; });

    RunSave();

    EXPECT_TRUE(boxes_.empty());
    EXPECT_TRUE(LastSaveRunHadErrors());
    EXPECT_EQ(receiver_->EndMessages(), 1);
    std::vector<std::string> texts;
    for (const auto& line : LogLines())
        texts.push_back(LogText(line));
    EXPECT_TRUE(Contains(texts, "Failed to create directory " + SaveDir() + "\\db1 !"));
    EXPECT_TRUE(Contains(texts, "An error occurred while saving the data ! "
                                "Please check the messages in the listbox for further information."));
    EXPECT_EQ(texts.back(), "ERRORS while saving data");
}

TEST_F(SaveRunTest, UnattendedCleanRunShowsNoBox)
{
    UpdateSaveSettings([](SaveSettingsRecord& s) { s.Unattended = 1; });

    RunSave();

    EXPECT_TRUE(boxes_.empty());
    EXPECT_FALSE(LastSaveRunHadErrors());
    EXPECT_EQ(receiver_->EndMessages(), 1);
}

TEST_F(SaveRunTest, ASaveDirectoryTheFileSystemRefusesRunsNoCommandAndFailsCleanly)
{
    qztest::RemoveTree("C:\\pwned.txt");
    SetSaveDir(Root() + "\\keep\\a\"&echo pwned>C:\\pwned.txt&\"");

    RunSave();

    EXPECT_FALSE(qztest::Exists("C:\\pwned.txt"));
    ASSERT_EQ(receiver_->Reports().size(), 1u);
    EXPECT_EQ(receiver_->Reports()[0].wParam, 1u);
    EXPECT_EQ(receiver_->Reports()[0].text,
              "FAILED to save into " + SaveDir() + ": the directory cannot be created !");
    EXPECT_EQ(receiver_->SelectedLine(), 0);
    EXPECT_TRUE(LastSaveRunHadErrors());
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].caption, "Error !");
    EXPECT_EQ(LogText(LogLines().back()), "ERRORS while saving data");
    // No record of a keepset that is not there.
    EXPECT_TRUE(Section("qzkeepset.ini", "Save1").empty());
}

TEST_F(SaveRunTest, ConfiguredNamesThatLeadOutOfTheKeepsetAreRefused)
{
    WritePrivateProfileStringA("DBInfo", "Group", "..\\..\\windows\\win.ini", "qzpers.ini");
    SetConfig("MySQL", "SaveSpecifiedDatabases", "1");
    SetConfig("MySQL", "DumpDatabase", "..\\..\\..\\windows\\evil,a/b,C:x,");
    UpdateSaveSettings([](SaveSettingsRecord& s) {
        s.SaveWeb = 1;
        s.WebServerKind = 2;
        s.SaveMySql = 1;
    });

    RunSave();

    const std::string rule = ": a configured name must not hold \\, /, : or .. !";
    std::vector<std::string> failures;
    for (const auto& report : receiver_->Reports()) {
        if (report.text.find(rule) != std::string::npos && report.wParam == 1)
            failures.push_back(report.text);
    }
    EXPECT_EQ(failures, (std::vector<std::string>{"FAILED to save ..\\..\\windows\\win.ini" + rule,
                                                  "FAILED to save ..\\..\\..\\windows\\evil" + rule,
                                                  "FAILED to save a/b" + rule, "FAILED to save C:x" + rule}));
    EXPECT_TRUE(LastSaveRunHadErrors());
    EXPECT_FALSE(qztest::Exists(SaveDir() + "\\windows"));
    EXPECT_FALSE(qztest::Exists(Root() + "\\windows"));
    // The plain names of the same section are saved as before.
    EXPECT_TRUE(qztest::Exists(SaveDir() + "\\db1\\qzpersonal.dbf"));
}

// A save that cannot mark its entry "running" (the configuration file
// read-only here, as a full Windows folder refuses it) touches nothing in
// the keepset: the entry and the record still describe the earlier save,
// so no file, manifest or record of it may change, and no batch program
// starts.
TEST_F(SaveRunTest, AKeepsetRecordThatCannotBeWrittenIsARedLineAndTheErrorOutcome)
{
    RunSave();
    ASSERT_FALSE(LastSaveRunHadErrors());
    const auto keepset = TreeContents(SaveDir());
    ASSERT_EQ(keepset.count("qzkeepset.sha256"), 1u);
    qztest::WriteFileText(Install() + "\\db1\\vm001.dbf", "changed since");
    UpdateSaveSettings([&](SaveSettingsRecord& s) {
        s.AciveStartBatch = 1;
        s.StartBatch = "cmd /c echo started> \"" + Root() + "\\batch.txt\"";
    });
    SetConfig("Config", "LastKeepsetDir", "E:\\old");
    const std::string before = qztest::ReadFileText(qztest::ConfigFilePath());
    ASSERT_FALSE(before.empty());
    qztest::SetAttributes(qztest::ConfigFilePath(), FILE_ATTRIBUTE_READONLY);
    NewReceiver();

    RunSave();
    qztest::SetAttributes(qztest::ConfigFilePath(), FILE_ATTRIBUTE_NORMAL);

    const std::string failed = "FAILED to save the keepset record to " + qztest::ConfigFilePath() + " !";
    ASSERT_EQ(receiver_->Reports().size(), 1u);
    EXPECT_EQ(receiver_->Reports().front().text, failed);
    EXPECT_EQ(receiver_->Reports().front().wParam, 1u);
    EXPECT_EQ(receiver_->SelectedLine(), 0);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].caption, "Error !");
    EXPECT_TRUE(LastSaveRunHadErrors());
    EXPECT_EQ(LogText(LogLines().back()), "ERRORS while saving data");
    EXPECT_EQ(qztest::ReadFileText(qztest::ConfigFilePath()), before);
    EXPECT_EQ(TreeContents(SaveDir()), keepset);
    Sleep(500);  // a batch program that started would have written by now
    EXPECT_FALSE(qztest::Exists(Root() + "\\batch.txt"));

    // The same while another process (the window in another session) is
    // in the middle of its update of the file: after a short wait the run
    // gives up with the same red line, and the file is as that one left it.
    NewReceiver();
    {
        const qztest::MutexHeldElsewhere otherProcess(kUpdateLockName);
        RunSave();
    }
    ASSERT_EQ(receiver_->Reports().size(), 1u);
    EXPECT_EQ(receiver_->Reports().front().text, failed);
    EXPECT_EQ(qztest::ReadFileText(qztest::ConfigFilePath()), before);
    EXPECT_EQ(TreeContents(SaveDir()), keepset);
}

// Folders planted under the names the updates once used for their copies
// block nothing. The batch program may copy the keepset to tape or
// elsewhere: when it starts, the keepset is whole and says so, in its
// manifest, its record file and its list entry.
TEST_F(SaveRunTest, PlantedNamesBlockNothingAndTheBatchProgramFindsTheKeepsetComplete)
{
    const std::vector<std::string> planted = {qztest::ConfigFilePath() + ".new", SaveDir() + "\\qzkeepset.inf.new",
                                              SaveDir() + "\\qzkeepset.sha256.tmp",
                                              SaveDir() + "\\qzkeepset.size.tmp"};
    for (const std::string& folder : planted)
        qztest::MakeDirectories(folder);
    const std::string seen = Root() + "\\seen";
    qztest::MakeDirectories(seen);
    qztest::WriteFileText(Root() + "\\offsite.cmd",
                          "@echo off\r\n"
                          "copy \"" + qztest::ConfigFilePath() + "\" \"" + seen + "\\list.ini\"\r\n"
                          "copy \"" + SaveDir() + "\\qzkeepset.sha256\" \"" + seen + "\\manifest\"\r\n"
                          "copy \"" + SaveDir() + "\\qzkeepset.inf\" \"" + seen + "\\record.inf\"\r\n");
    UpdateSaveSettings([&](SaveSettingsRecord& s) {
        s.AciveStartBatch = 1;
        s.StartBatch = "cmd /c \"" + Root() + "\\offsite.cmd\"";
        s.Unattended = 1;
    });
    RunSave();
    ASSERT_FALSE(LastSaveRunHadErrors());
    for (int waited = 0; waited < 200 && !qztest::Exists(seen + "\\record.inf"); ++waited)
        Sleep(100);
    Sleep(200);
    EXPECT_EQ(Section(seen + "\\record.inf", "Save")["State"], "complete");
    EXPECT_EQ(Section(seen + "\\list.ini", "Save1")["State"], "complete");
    EXPECT_EQ(qztest::ReadFileText(seen + "\\manifest"), qztest::ReadFileText(SaveDir() + "\\qzkeepset.sha256"));
    EXPECT_FALSE(qztest::ReadFileText(seen + "\\manifest").empty());
    for (const std::string& folder : planted)
        EXPECT_EQ(GetFileAttributesA(folder.c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY)) << folder;
    qztest::RemoveTree(planted[0]);

    // A batch program that cannot be started is a red line and the error
    // outcome; the keepset itself is whole and stays complete. Its files
    // as they are at the start (the earlier save's lists gone), seen while
    // the run waits on that line, whatever the time a started program
    // takes to look.
    NewReceiver();
    for (const char* name : {"\\qzkeepset.sha256", "\\qzkeepset.size"})
        ASSERT_TRUE(DeleteFileA((SaveDir() + name).c_str()));
    std::string atStart;
    receiver_->OnReport([&](const qztest::ReceivedReport& report) {
        if (report.wParam == 1)
            atStart = Section(SaveDir() + "\\qzkeepset.inf", "Save")["State"] + " " +
                      Section("qzkeepset.ini", "Save1")["State"] +
                      (qztest::Exists(SaveDir() + "\\qzkeepset.sha256") ? " manifest" : "") +
                      (qztest::Exists(SaveDir() + "\\qzkeepset.size") ? " sizes" : "");
    });
    win::FailCall(win::Op::ProgramStart, 1, ERROR_FILE_NOT_FOUND);
    RunSave();
    receiver_->OnReport(nullptr);
    EXPECT_EQ(atStart, "complete complete manifest sizes");
    EXPECT_TRUE(LastSaveRunHadErrors());
    EXPECT_EQ(receiver_->Reports().back().text,
              "FAILED to start the batch program cmd /c \"" + Root() + "\\offsite.cmd\" !");
    EXPECT_EQ(Section(SaveDir() + "\\qzkeepset.inf", "Save")["State"], "complete");
}
