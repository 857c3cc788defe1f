// A whole full restore with the Nth file, profile or registry call failing,
// for every failure point of a clean run over a small keepset.
#include "RestoreFixture.h"

#include "support/FaultSweep.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace restoretest {
namespace {

TEST_F(RestoreTest, EveryFailingCallIsAnErrorAndLeavesKeepsetAndConfigurationAlone)
{
    for (const char* file : {"qzt\\tool.qzt", "qzt\\plan.csv", "db1\\vm001.dbf", "db1\\qzgroups.dbf", "win\\vmqzt.ini",
                             "dbv1\\v1_1.vox", "dbv1\\mail.eml", "desktop\\all\\Common.lnk", "desktop\\user\\Alarm.lnk",
                             "web\\htdocs\\index.php", "data\\extra\\list.txt"})
        Saved(file, std::string("saved ") + file);
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
    const auto points = qztest::FailurePoints(6);
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
        for (std::size_t i = logBefore; i < log.size(); ++i)
            failureLogged = failureLogged || log[i].find("FAILED") != std::string::npos;
        const bool errors = Summary() == kErrorsText;
        if (failureLogged) {
            EXPECT_TRUE(errors) << "a failure logged, yet the summary says otherwise: " << where;
        }
        if (!errors) {
            silent += " " + where;
            ++silentCount;
        }
        // Once every failure is reported (QZ_SWEEP_STRICT=1).
        if (qztest::StrictSweep()) {
            EXPECT_TRUE(errors && failureLogged) << "a failure nobody was told of: " << where;
        }

        // A restore only reads the keepset and the configuration file.
        EXPECT_EQ(qztest::ReadFileText(qztest::ConfigFilePath()), config) << where;
        EXPECT_EQ(qztest::ReadFileText(keep_ / "qzt\\tool.qzt") + qztest::ReadFileText(keep_ / "web\\htdocs\\index.php"),
                  keepset)
            << where;
    }
    RecordProperty("SilentFailurePoints", silent);
    std::printf("%zu failure points tried; %zu ended without the error summary:%s\n", points.size(), silentCount,
                silent.c_str());
}

}  // namespace
}  // namespace restoretest
