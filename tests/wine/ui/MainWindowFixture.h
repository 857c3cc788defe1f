#pragma once
// The main window opened modeless in the test program, with a clean
// configuration, an installation registered on drive Q: (a scratch folder)
// and the working directory in that folder. Message boxes are answered with
// OK and recorded; the end of the program is recorded instead of done.
#include "config/SaveSettings.h"
#include "support/WineHost.h"
#include "ui/MainDialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace uitest {

struct ShownBox {
    std::string text;
    std::string caption;
    unsigned style;
};

class TestMainDialog : public MainDialog {
public:
    std::vector<int> endedWith;
    int settingsOpened = 0;
    int restoreOpened = 0;

protected:
    void OpenSettings() override { ++settingsOpened; }
    void OpenRestore() override { ++restoreOpened; }
    void EndProgram(int exitStatus) override { endedWith.push_back(exitStatus); }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the window with this save-directory text (a command-line
    // directory, or empty).
    void Open(const std::string& saveDirectoryText = std::string());
    HWND Window() const { return dialog_->Window(); }
    std::string ItemText(int id) const;
    void Click(int id);
    // Handles this thread's messages until the condition holds; false on
    // time-out.
    bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds = 60000);
    std::string ConfigValue(const std::string& key) const;

    std::unique_ptr<TestMainDialog> dialog_;
    std::unique_ptr<qztest::ScratchFolder> scratch_;
    std::vector<ShownBox> boxes_;

private:
    std::string previousDirectory_;
};

// The folder for screenshots a person may look at: QZ_SCREENSHOT_DIR, else
// "screenshots" beside the test program.
std::string ScreenshotFolder();
void TakeScreenshot(const std::string& name);

}  // namespace uitest
