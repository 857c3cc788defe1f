#pragma once
// A stand-in for the main window in tests: a small top-level window with a
// list box of id 1004 that takes the save run's messages as the main window
// does. Report lines (WM_USER+2) are recorded and added to the list; the end
// message (WM_USER+1) is recorded.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace qztest {

struct ReceivedReport {
    WPARAM wParam;
    std::string text;
};

class ReportReceiver {
public:
    ReportReceiver();
    ~ReportReceiver();
    ReportReceiver(const ReportReceiver&) = delete;
    ReportReceiver& operator=(const ReportReceiver&) = delete;

    HWND Window() const { return window_; }
    HWND List() const;

    // Pumps messages on this thread until the end message arrives or the
    // time runs out; false on time-out.
    bool WaitForEnd(DWORD timeoutMilliseconds = 120000);
    // The same until count end messages have arrived in all.
    bool WaitForEnds(int count, DWORD timeoutMilliseconds = 120000);

    const std::vector<ReceivedReport>& Reports() const { return reports_; }
    int EndMessages() const { return endMessages_; }
    // Messages in arrival order: "report" or "end", to check the end comes last.
    const std::vector<std::string>& Sequence() const { return sequence_; }
    std::vector<std::string> ListLines() const;
    // The selected line of the list, or -1.
    int SelectedLine() const;
    // Called with each report as it arrives, while its sender waits: a
    // test sees the files as they are at that point of the run.
    void OnReport(std::function<void(const ReceivedReport&)> callback) { onReport_ = std::move(callback); }

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::vector<ReceivedReport> reports_;
    std::vector<std::string> sequence_;
    int endMessages_ = 0;
    std::function<void(const ReceivedReport&)> onReport_;
};

}  // namespace qztest
