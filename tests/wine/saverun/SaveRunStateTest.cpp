// Saves that fail part-way or are stopped: what the keepset, its record and
// the keepset list say afterwards, and that nothing else changes.
#include "SaveRunFixture.h"

#include "config/LowerCase.h"
#include "save/Reports.h"
#include "save/SaveRun.h"
#include "support/FaultSweep.h"
#include "win/CallCounter.h"

#include <windows.h>
#include <process.h>

#include <atomic>

namespace {

std::atomic<int> reportsLeft{0};
HANDLE runStopped = nullptr;

// Ends the run's thread after the chosen report, as a killed run ends.
void StopAfterChosenReport()
{
    if (--reportsLeft == 0) {
        SetEvent(runStopped);
        _endthread();
    }
}

}  // namespace

TEST_F(SaveRunTest, ASaveFailingAtAnyFileOperationEndsWithErrorsAndListsOnlyWhatItSaved)
{
    // An earlier keepset in [Save1] and another entry in [Save2]: neither may change.
    SetSaveDir(Root() + "\\earlier");
    RunSave();
    SetConfig("Save2", "Path", "X:\\elsewhere");
    SetConfig("Save2", "State", "complete");
    const auto earlier = TreeContents(SaveDir());
    const auto save1 = ConfigSectionLines("Save1");
    const auto save2 = ConfigSectionLines("Save2");
    SetSaveDir(Root() + "\\keep");
    auto freshRun = [&]() {
        qztest::RemoveTree(SaveDir());
        WritePrivateProfileStringA("Save3", nullptr, nullptr, "qzkeepset.ini");
        NewReceiver();
    };

    for (win::Op kind : {win::Op::FileCopy, win::Op::DirectoryCreate, win::Op::FileHash, win::Op::FileWrite,
                         win::Op::FileMove}) {
        freshRun();
        RunSave();
        const unsigned long calls = win::CallCount(kind);
        ASSERT_GT(calls, 0u);
        for (unsigned long n = 1; n <= calls; ++n) {
            SCOPED_TRACE("kind " + std::to_string(static_cast<int>(kind)) + ", call " + std::to_string(n));
            freshRun();
            win::FailCall(kind, n, ERROR_DISK_FULL);
            RunSave();

            EXPECT_TRUE(LastSaveRunHadErrors());
            bool recordFailed = false;
            for (const auto& report : receiver_->Reports())
                recordFailed = recordFailed || report.text.find("the keepset record") != std::string::npos;
            // A record that could not be written at the end leaves the mark
            // of the start (or, when that failed too, the entry as it was).
            if (!qztest::Exists(SaveDir())) {
                EXPECT_TRUE(ConfigSectionLines("Save3").empty());  // nothing to list
            } else if (!recordFailed) {
                EXPECT_EQ(Section("qzkeepset.ini", "Save3")["State"], "errors");
                EXPECT_EQ(Section(SaveDir() + "\\qzkeepset.inf", "Save")["State"], "errors");
            } else {
                // The list entry is written before the record file: it may say
                // "complete" for copies that all went through.
                EXPECT_NE(Section(SaveDir() + "\\qzkeepset.inf", "Save")["State"], "complete");
            }
            const auto files = ReportedFiles();
            if (files.count("qzkeepset.sha256") != 0) {
                EXPECT_FALSE(qztest::Exists(SaveDir() + "\\qzkeepset.sha256"));
            } else if (qztest::Exists(SaveDir())) {
                ExpectManifestOfSavedFiles();
            }
            EXPECT_EQ(qztest::TemporaryFilesIn(SaveDir()), std::vector<std::string>{});
            EXPECT_EQ(TreeContents(Root() + "\\earlier"), earlier);
            EXPECT_EQ(ConfigSectionLines("Save1"), save1);
            EXPECT_EQ(ConfigSectionLines("Save2"), save2);
        }
    }
}

TEST_F(SaveRunTest, ARunStoppedPartWayLeavesItsEntryRunningAndNoRecordFile)
{
    RunSave();
    const int reports = static_cast<int>(receiver_->Reports().size());
    const std::string keep = SaveDir();
    auto stoppedRun = [&](int afterReports) {
        NewReceiver();
        reportsLeft = afterReports;
        runStopped = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        SetReportObserver(StopAfterChosenReport);
        ASSERT_TRUE(StartSaveRun());
        while (MsgWaitForMultipleObjects(1, &runStopped, FALSE, 60000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
        }
        SetReportObserver(nullptr);
        CloseHandle(runStopped);
        Sleep(100);  // the thread ends
        EXPECT_EQ(receiver_->EndMessages(), 0);
    };

    for (int stopAt : {1, reports / 2, reports}) {
        SCOPED_TRACE("stopped after report " + std::to_string(stopAt));
        // Saved again into a complete keepset: its entry is marked, its
        // record file gone, its old manifest stays until a whole new one
        // replaces it.
        SetSaveDir(keep);
        NewReceiver();
        RunSave();
        ASSERT_EQ(Section("qzkeepset.ini", "Save1")["State"], "complete");
        const std::string manifest = qztest::ReadFileText(keep + "\\qzkeepset.sha256");
        stoppedRun(stopAt);
        EXPECT_EQ(Section("qzkeepset.ini", "Save1")["State"], "running");
        EXPECT_FALSE(qztest::Exists(keep + "\\qzkeepset.inf"));
        EXPECT_EQ(qztest::ReadFileText(keep + "\\qzkeepset.sha256"), manifest);

        // A new directory is listed, in the slot the end would have taken.
        SetSaveDir(Root() + "\\New");
        qztest::RemoveTree(SaveDir());
        stoppedRun(stopAt);
        auto entry = Section("qzkeepset.ini", "Save2");
        EXPECT_EQ(entry["Path"], LowerCase(SaveDir()));
        EXPECT_EQ(entry["State"], "running");
        EXPECT_FALSE(qztest::Exists(SaveDir() + "\\qzkeepset.inf"));
        EXPECT_FALSE(qztest::Exists(SaveDir() + "\\qzkeepset.sha256"));
        EXPECT_TRUE(ConfigSectionLines("Save3").empty());
    }
}
