// The run log, the report messages and the boxes of the copy primitives.
#include "CopyTestHost.h"

#include "config/SaveSettings.h"
#include "save/CopyPrimitives.h"
#include "save/EnsureDirectory.h"
#include "save/Reports.h"
#include "save/RunLogFormat.h"
#include "save/UserPrompts.h"
#include "win/CallCounter.h"
#include "win/MessageBoxes.h"

#include <atomic>
#include <ctime>
#include <thread>

using RunLog_ = CopyTest;
using ReportStep_ = CopyTest;
using EnsureDirectory_ = CopyTest;

TEST_F(RunLog_, AppendsBannerAndStampedLinesWithLineBreaksOfTheSystem)
{
    const std::string path = folder_ / "run.log";
    {
        RunLog log;
        ASSERT_TRUE(log.Open(path));
        log.WriteBanner();
        log.WriteLine("Start Keepset");
        log.WriteEmptyLine();
        log.WriteLine("All data successfully saved");
    }
    RunLog second;
    ASSERT_TRUE(second.Open(path));
    second.WriteBanner();
    second.Close();
    second.WriteLine("dropped after closing");

    const std::string stars(121, '*');
    const std::string banner = "\r\n\r\n" + stars + "\r\n\r\n";
    EXPECT_EQ(qztest::ReadFileText(path), banner + "07.12.2026, 10:18:31, Start Keepset\r\n\r\n"
                                                   "07.12.2026, 10:18:31, All data successfully saved\r\n" +
                                              banner);
}

TEST_F(RunLog_, EachLineTakesTheTimeOfItsWriting)
{
    // A clock that moves on one second after every second reading.
    int readings = 0;
    SetLogClock([&readings] {
        LogTime time;
        time.day = 1;
        time.month = 3;
        time.year = 2027;
        time.hour = 9;
        time.minute = 5;
        time.second = 7 + readings++ / 2;
        return time;
    });
    WriteLogLine("one");
    WriteLogLine("two");
    WriteLogLine("three");
    const std::vector<std::string> lines = qztest::ReadLines(LogPath());
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[4], "01.03.2027, 09:05:07, one");
    EXPECT_EQ(lines[5], "01.03.2027, 09:05:07, two");
    EXPECT_EQ(lines[6], "01.03.2027, 09:05:08, three");
}

TEST_F(RunLog_, TwoLinesInOneSecondOfTheLocalClockCarryTheSameStamp)
{
    SetLogClock(LogClock());
    const std::string path = folder_ / "clock.log";
    // Retried when a second boundary falls between the two lines.
    for (int attempt = 0; attempt < 3; ++attempt) {
        qztest::RemoveTree(path);
        RunLog log;
        ASSERT_TRUE(log.Open(path));
        const std::time_t before = std::time(nullptr);
        log.WriteLine("first");
        log.WriteLine("second");
        const std::time_t after = std::time(nullptr);
        log.Close();
        if (before != after)
            continue;
        const std::tm local = *std::localtime(&before);
        const std::string stamp = FormatLogLine(local.tm_mday, local.tm_mon + 1, local.tm_year + 1900,
                                                local.tm_hour, local.tm_min, local.tm_sec, "");
        const std::string prefix = stamp.substr(0, stamp.size() - 1);  // without its line break
        EXPECT_EQ(qztest::ReadLines(path), (std::vector<std::string>{prefix + "first", prefix + "second"}));
        return;
    }
    ADD_FAILURE() << "no two lines within one second";
}

TEST_F(RunLog_, LogThatCannotBeOpenedDropsItsLinesButReportsStillReachTheWindow)
{
    SaveRunLog().Close();
    const std::string path = folder_ / "log\\qzkeepset.log";  // no "log" directory
    EXPECT_FALSE(SaveRunLog().Open(path));
    SaveRunLog().WriteBanner();
    WriteLogLine("Start Keepset");
    ReportStep("a saved to b", false);

    EXPECT_FALSE(qztest::Exists(path));
    ASSERT_EQ(window_.Reports().size(), 1u);
    EXPECT_EQ(window_.Reports()[0].text, "a saved to b");
}

TEST_F(ReportStep_, LogsThenSendsWithFailureFlagAndSendsNothingWithoutMainWindow)
{
    ReportStep("x saved to y", false);
    ReportStep("FAILED to save x to y !", true);
    ASSERT_EQ(window_.Reports().size(), 2u);
    EXPECT_EQ(window_.Reports()[0].wParam, 0u);
    EXPECT_EQ(window_.Reports()[1].wParam, 1u);
    EXPECT_EQ(window_.Reports()[1].text, "FAILED to save x to y !");

    UpdateSaveSettings([](SaveSettingsRecord& record) { record.MainWindow = nullptr; });
    ReportStep("no window", true);
    EXPECT_EQ(window_.Reports().size(), 2u);
    EXPECT_EQ(LogTexts(), (std::vector<std::string>{"x saved to y", "FAILED to save x to y !", "no window"}));
}

TEST_F(ReportStep_, ReportsFromAWorkerThreadArriveWhileTheWindowThreadPumps)
{
    const std::string source = folder_ / "src";
    const std::string target = folder_ / "dst";
    qztest::WriteFileText(source + "\\a.vox", "a");
    qztest::WriteFileText(source + "\\b.vox", "b");
    qztest::MakeDirectories(target);

    std::atomic<bool> done{false};
    int result = -1;
    DWORD workerId = 0;
    std::thread worker([&] {
        workerId = GetCurrentThreadId();
        result = CopyFilesByPattern(source + "\\*.vox", source, target);
        done = true;
    });
    // The window thread handles the sent messages while it waits for input.
    const DWORD start = GetTickCount();
    while (!done && GetTickCount() - start < 20000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    worker.join();

    EXPECT_EQ(result, 0);
    EXPECT_EQ(window_.Texts(0), Sorted({source + "\\a.vox saved to " + target + "\\a.vox",
                                        source + "\\b.vox saved to " + target + "\\b.vox"}));
    for (DWORD thread : window_.ReceivingThreads())
        EXPECT_NE(thread, workerId);
    EXPECT_EQ(LogTexts().size(), 2u);
}

TEST_F(EnsureDirectory_, AcceptsWhatExistsCreatesOneLevelAndReportsAFailureOtherwise)
{
    qztest::WriteFileText(folder_ / "file", "x");
    EXPECT_TRUE(EnsureDirectory(folder_.Path()));
    EXPECT_TRUE(EnsureDirectory(folder_ / "file"));  // a file of that name counts
    EXPECT_TRUE(EnsureDirectory(folder_ / "db1"));
    EXPECT_TRUE(qztest::Exists(folder_ / "db1"));
    EXPECT_TRUE(boxes_.empty());
    EXPECT_TRUE(window_.Reports().empty());

    // A failure line in the list and the log; interactive, also the box.
    const std::string twoLevels = folder_ / "web\\htdocs";
    const std::string text = "Failed to create directory " + twoLevels + " !";
    EXPECT_FALSE(EnsureDirectory(twoLevels));
    EXPECT_FALSE(qztest::Exists(folder_ / "web"));
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, text);
    EXPECT_EQ(boxes_[0].caption, "Error !");
    EXPECT_EQ(boxes_[0].style, 0x30u);
    EXPECT_EQ(window_.Texts(1), std::vector<std::string>{text});
    EXPECT_EQ(LogTexts(), std::vector<std::string>{text});

    // Unattended: the line once, no box.
    UpdateSaveSettings([](SaveSettingsRecord& s) { s.Unattended = 1; });
    EXPECT_FALSE(EnsureDirectory(twoLevels));
    UpdateSaveSettings([](SaveSettingsRecord& s) { s.Unattended = 0; });
    EXPECT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(window_.Texts(1), (std::vector<std::string>{text, text}));
    EXPECT_EQ(LogTexts(), (std::vector<std::string>{text, text}));
}

TEST(UserPrompts, WarningAndQuestionBoxesUseTheirStylesAndOnlyYesIsTrue)
{
    std::vector<unsigned> styles;
    int answer = win::kAnswerYes;
    win::SetMessageBoxHandler([&](const std::string&, const std::string&, unsigned style) {
        styles.push_back(style);
        return answer;
    });
    ShowWarning("text", "Error !");
    EXPECT_TRUE(AskYesNo("Overwrite?", "Question", false));
    EXPECT_TRUE(AskYesNo("Overwrite?", "Question", true));
    answer = win::kAnswerNo;
    EXPECT_FALSE(AskYesNo("Overwrite?", "Question", true));
    answer = 0;  // the box could not be shown
    EXPECT_FALSE(AskYesNo("Overwrite?", "Question", false));
    win::SetMessageBoxHandler(win::MessageBoxHandler());
    EXPECT_EQ(styles, (std::vector<unsigned>{0x30, 0x24, 0x124, 0x124, 0x24}));
}
