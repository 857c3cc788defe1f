#pragma once
// What the copy tests share: a hidden window standing in for the main
// window, which records every report message it receives, and a fixture
// with a scratch folder, the save run's log opened in it, a fixed clock and
// recorded message boxes.
#include "save/RunLog.h"
#include "support/WineHost.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

struct ReceivedReport {
    WPARAM wParam;
    std::string text;
};

// A hidden window of the calling thread; set as MainWindow of the save
// settings for its lifetime.
class ReportWindow {
public:
    ReportWindow();
    ~ReportWindow();
    ReportWindow(const ReportWindow&) = delete;
    ReportWindow& operator=(const ReportWindow&) = delete;

    HWND Handle() const { return window_; }
    const std::vector<ReceivedReport>& Reports() const { return reports_; }
    // The texts of the reports with that wParam, sorted (the order of a
    // directory search is the system's).
    std::vector<std::string> Texts(WPARAM wParam) const;
    // The thread that ran the window procedure for each report.
    const std::vector<DWORD>& ReceivingThreads() const { return threads_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::vector<ReceivedReport> reports_;
    std::vector<DWORD> threads_;
};

struct ShownBox {
    std::string text;
    std::string caption;
    unsigned style;
};

// 7 December 2026, 10:18:31, the stamp of every log line in these tests.
constexpr const char* kFixedStamp = "07.12.2026, 10:18:31, ";

class CopyTest : public ::testing::Test {
protected:
    explicit CopyTest(const std::string& folderName = "copy");
    void SetUp() override;
    void TearDown() override;

    // The lines of the save run's log after the banner, without their stamp;
    // a line without the fixed stamp stays whole (and fails the comparison).
    std::vector<std::string> LogTexts() const;
    std::string LogPath() const { return folder_ / "qzkeepset.log"; }

    qztest::ScratchFolder folder_;
    ReportWindow window_;
    std::vector<ShownBox> boxes_;
};

// Sorted copy, for comparing what a search found with what was expected.
std::vector<std::string> Sorted(std::vector<std::string> texts);
