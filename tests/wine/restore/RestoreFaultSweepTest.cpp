// A whole full restore with the Nth file, profile or registry call failing,
// for every failure point of a clean run over a small keepset: after each,
// every live file is old or new byte for byte, the configuration file in
// use is as it was, no temporary copy or directory is left, and a run that
// did not restore everything (that file kept included) says so.
#include "RestoreFixture.h"

#include "support/FaultSweep.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

namespace restoretest {
namespace {

TEST_F(RestoreTest, EveryFailingCallIsAnErrorAndLeavesKeepsetAndConfigurationAlone)
{
    // Each saved file and where a full restore puts it.
    const std::pair<const char*, std::string> files[] = {
        {"qzt\\tool.qzt", install_ / "qzt\\tool.qzt"},
        {"qzt\\plan.csv", install_ / "qzt\\plan.csv"},
        {"db1\\vm001.dbf", install_ / "db1\\vm001.dbf"},
        {"db1\\qzgroups.dbf", install_ / "db1\\qzgroups.dbf"},
        {"win\\vmqzt.ini", WindowsFile("vmqzt.ini")},
        {"dbv1\\v1_1.vox", install_ / "dbv1\\v1_1.vox"},
        {"dbv1\\mail.eml", install_ / "dbv1\\mail.eml"},
        {"desktop\\all\\Common.lnk", desktops_ / "all\\Common.lnk"},
        {"desktop\\user\\Alarm.lnk", desktops_ / "user\\Alarm.lnk"},
        {"web\\htdocs\\index.php", install_ / "htdocs\\index.php"},
        {"data\\extra\\list.txt", install_ / "data\\extra\\list.txt"},
    };
    for (const auto& file : files)
        Saved(file.first, std::string("saved ") + file.first);
    // The keepset's copy of the configuration file, which never replaces
    // the one in use: not even when the look at that one fails.
    Saved("win\\qzkeepset.ini", "[Save1]\r\nPath=elsewhere\r\n");
    qztest::MakeDirectories(install_ / "htdocs");
    qztest::MakeDirectories(install_ / "data\\extra");
    Config("[Config]\r\nWebHtdocsPath=Q:\\htdocs\r\n[Save1]\r\nPath=" + keep_.Path() +
           "\r\nSaveMsg=1\r\nSaveDesktop=1\r\nSaveWeb=1\r\nSaveMySql=0\r\nSaveAdd1=Q:\\data\\extra\r\n");
    RestoreRequest request;
    request.source = RestoreSource::KeepsetList;
    request.recordFile = "qzkeepset.ini";
    request.recordSection = "Save1";

    win::ResetCalls();
    ASSERT_TRUE(Run(request));
    ASSERT_EQ(Summary(), kSuccessText);
    const std::string configKept = "Kept the file in use: " + WindowsFile("qzkeepset.ini") + " (not replaced by " +
                                   keep_.Path() + ".\\win\\qzkeepset.ini)";
    ASSERT_TRUE(Logged(configKept));
    for (const auto& file : files)
        ASSERT_EQ(qztest::ReadFileText(file.second), std::string("saved ") + file.first) << file.second;
    // Every open (each look at an entry, the configuration file in use
    // among them), not a sample, unless QZ_SWEEP_SAMPLES asks for fewer.
    auto points = qztest::FailurePoints(6);
    const auto looks = qztest::FailurePoints(0, {win::Op::OpenFile});
    points.insert(points.end(), looks.begin(), looks.end());
    ASSERT_FALSE(points.empty());
    const std::string config = qztest::ReadFileText(qztest::ConfigFilePath());
    const std::string keepset = qztest::ReadFileText(keep_ / "qzt\\tool.qzt") +
                                qztest::ReadFileText(keep_ / "web\\htdocs\\index.php");

    std::string silent;
    std::size_t silentCount = 0;
    for (const auto& point : points) {
        const std::string where = std::string(qztest::OpName(point.first)) + " #" + std::to_string(point.second);
        boxes_.clear();
        host_.events.clear();
        const std::size_t logBefore = LogTexts().size();
        for (const auto& file : files)
            qztest::WriteFileText(file.second, "before the restore");
        win::ResetCalls();
        win::FailCall(point.first, point.second, qztest::SweepErrorCode(point.first));
        Run(request);
        win::ResetCalls();

        // It ended (this line is reached) with a box, and with the arrow
        // cursor back when it got as far as the wait cursor.
        ASSERT_FALSE(boxes_.empty()) << where;
        EXPECT_TRUE(host_.events.empty() || host_.events.back() != "wait") << where;
        const Lines log = LogTexts();
        bool failureLogged = false;
        bool kept = false;
        for (std::size_t i = logBefore; i < log.size(); ++i) {
            failureLogged = failureLogged || log[i].find("FAILED") != std::string::npos;
            kept = kept || log[i] == configKept;
        }
        const bool errors = Summary() == kErrorsText;
        if (failureLogged) {
            EXPECT_TRUE(errors) << "a failure logged, yet the summary says otherwise: " << where;
        }
        // A failure the restore worked around (a temporary copy or
        // directory removed at the second try) leaves every file restored
        // and the configuration file in use kept, as its line says.
        // Each live file holds, byte for byte, its old or its new content,
        // and no temporary copy or directory is left beside it.
        bool whole = Summary() == kSuccessText && kept;
        for (const auto& file : files) {
            const std::string bytes = qztest::ReadFileText(file.second);
            whole = whole && bytes == std::string("saved ") + file.first;
            EXPECT_TRUE(bytes == "before the restore" || bytes == std::string("saved ") + file.first)
                << where << ": " << file.second << " holds " << bytes;
            const std::string directory = file.second.substr(0, file.second.rfind('\\'));
            EXPECT_EQ(Temporaries(directory), Lines{}) << where << ": in " << directory;
        }
        if (!errors && !whole) {
            silent += " " + where;
            ++silentCount;
        }
        // Every failure the restore can see is logged and gives the error
        // summary, or was worked around; for the others
        // (qztest::FailureIsObservable) it is enough that it ended and
        // changed nothing, which the checks below ask of all. Of the files
        // opened only the run log may fail unseen, and then it has no line.
        if (qztest::FailureIsObservable(point.first) || (point.first == win::Op::OpenFile && log.size() > logBefore)) {
            EXPECT_TRUE((errors && failureLogged) || whole) << "a failure nobody was told of: " << where;
        }

        // A restore only reads the keepset and the configuration file.
        EXPECT_EQ(qztest::ReadFileText(qztest::ConfigFilePath()), config) << where;
        EXPECT_EQ(qztest::ReadFileText(keep_ / "qzt\\tool.qzt") + qztest::ReadFileText(keep_ / "web\\htdocs\\index.php"),
                  keepset)
            << where;
    }
    RecordProperty("SilentFailurePoints", silent);
    std::printf("%zu failure points tried; %zu ended neither whole nor with the error summary:%s\n", points.size(), silentCount,
                silent.c_str());
}

}  // namespace
}  // namespace restoretest
