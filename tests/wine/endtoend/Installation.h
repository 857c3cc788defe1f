#pragma once
// A prepared server for the real program: the alarm installation on drive
// Q: (a scratch folder, registered as the installation directory), its ini
// files in the Windows directory, both desktops, a clean configuration
// file, and a copy of qzkeepset.exe in a program folder of its own, where
// a test may put a language library beside it. The program runs in the
// root of drive Q:, so its run log is Q:\log\qzkeepset.log.
#include "Automation.h"
#include "support/TestSkips.h"
#include "support/WineHost.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace e2e {

// A registry value as it was before a test, to be put back after it.
struct SavedValue {
    HKEY root;
    std::string key;
    std::string value;
    DWORD type;  // REG_NONE: there was none
    std::string data;
};

constexpr const char* kEnglishTitle = "Orvella Backup and Restore Tool";

class Installation : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program with these arguments (each quoted) in Q:\.
    void StartProgram(const std::vector<std::string>& arguments = {});
    // Its main window with the title; fails the test when it does not open.
    HWND MainWindow(const std::string& title = kEnglishTitle);
    // Exit through the Exit button; the exit status.
    DWORD ExitProgram(HWND mainWindow);
    DWORD WaitForExit(DWORD timeoutMilliseconds = 90000);

    // Puts qzkeep_<code>.dll from bin beside the program; false when the
    // build has none.
    bool PlaceLanguageLibrary(const std::string& code);
    // [Config] "DefaultLanguage".
    void SetLanguage(const std::string& language);
    // A string-table text of the language library (empty code: English).
    std::string TextOf(const std::string& code, unsigned id) const;
    // Expects the dialog to show the texts of the language library's
    // template of it (empty code: the program's own, English): its caption
    // and the texts of its labels, check boxes, radio buttons, group boxes
    // and buttons, each control found by its id, labels sharing an id in
    // their order. The number of texts compared, for a test to check.
    std::size_t ExpectTemplateTexts(HWND dialog, const std::string& code, int dialogId) const;
    // Places the stand-in under this name in Q:\, where the program looks
    // for the programs it starts first; what was started, "name|arguments".
    void PlaceStandIn(const std::string& programName);
    std::vector<std::string> StartedPrograms() const;

    std::string ConfigValue(const std::string& section, const std::string& key) const;
    std::string Root() const { return scratch_->Path(); }
    static std::string Install() { return "Q:"; }
    std::vector<std::string> RunLog() const;
    // A picture of the screen once the program has painted its windows.
    void TakeScreenshot(const std::string& name);

    qzauto::Program program_;

private:
    // The language library of bin loaded for its resources (empty code:
    // this test program, which holds the English ones); nullptr when missing.
    HMODULE LanguageModule(const std::string& code) const;

    std::unique_ptr<qztest::ScratchFolder> scratch_;
    std::vector<SavedValue> savedValues_;
};

// Today's date in a format with year, month and day in this order.
std::string Today(const char* format);

}  // namespace e2e

// Puts the language library beside the program (PlaceLanguageLibrary);
// without it in the build the test skips, or fails in a full run.
#define QZ_REQUIRE_LANGUAGE_LIBRARY(code)                              \
    QZ_SKIP_UNLESS(PlaceLanguageLibrary(code), "QZ_REQUIRE_LANGUAGES", \
                   "the build has no qzkeep_" + std::string(code) + ".dll")
