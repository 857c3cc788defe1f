// The start of the program up to its main window: the language library,
// the single-instance rule and the command-line save directory. A window
// titled like the main window stops each start before the main window
// opens, which is what these tests look at.
#include "app/BackupApp.h"
#include "app/StartOptions.h"
#include "support/ProfileFiles.h"
#include "support/WineHost.h"
#include "win/CallCounter.h"
#include "win/Files.h"
#include "win/MessageBoxes.h"
#include "win/SharedMutex.h"
#include "win/Texts.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <string>
#include <vector>

namespace {

struct ShownBox {
    std::string text;
    std::string caption;
    unsigned style;
};

class BackupAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win::ResetCalls();
        qztest::RemoveConfigFile();
        win::SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned style) {
            boxes.push_back({text, caption, style});
            return win::kAnswerOk;
        });
    }
    void TearDown() override
    {
        if (runningCopy != nullptr)
            DestroyWindow(runningCopy);
        if (!startDirectory.empty())
            win::ChangeDirectory(startDirectory);
        win::SetUnattendedBoxSink(nullptr);
        win::SetMessageBoxHandler(nullptr);
        win::SetResourceModule(nullptr);
        qztest::RemoveConfigFile();
        win::ResetCalls();
    }

    static void SetLanguage(const std::string& language)
    {
        qztest::WriteProfileFile(qztest::ConfigFilePath(), "[Config]\r\nDefaultLanguage=" + language + "\r\n");
    }

    // A window of some program with the main window's title, minimised.
    void OpenRunningCopy(const char* title = "Orvella Backup and Restore Tool")
    {
        runningCopy = CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(runningCopy, nullptr);
        ShowWindow(runningCopy, SW_MINIMIZE);
        ASSERT_TRUE(IsIconic(runningCopy));
    }

    // Works in the scratch folder, where a start for a save keeps its run
    // log (log\qzkeepset.log).
    void WorkIn(const qztest::ScratchFolder& scratch)
    {
        startDirectory = win::CurrentDirectory();
        qztest::MakeDirectories(scratch / "log");
        win::ChangeDirectory(scratch.Path());
    }

    // The texts of the run-log lines, without their time stamps.
    static std::vector<std::string> RunLogTexts(const qztest::ScratchFolder& scratch)
    {
        std::vector<std::string> texts;
        for (const std::string& line : qztest::ReadLines(scratch / "log\\qzkeepset.log"))
            texts.push_back(line.size() >= 22 ? line.substr(22) : line);
        return texts;
    }

    BackupApp app;
    std::string startDirectory;
    HWND runningCopy = nullptr;
    std::vector<ShownBox> boxes;
};

}  // namespace

TEST_F(BackupAppTest, ARunningCopyIsBroughtBackAndTheNewStartDoesNothing)
{
    OpenRunningCopy();
    qztest::ScratchFolder scratch("app");
    WorkIn(scratch);
    EXPECT_EQ(app.InitInstance({}), 0);
    EXPECT_FALSE(IsIconic(runningCopy));
    EXPECT_TRUE(RunLogTexts(scratch).empty());

    // Started for a save: the status and one run-log line tell the
    // scheduler that nothing was saved.
    ShowWindow(runningCopy, SW_MINIMIZE);
    EXPECT_EQ(app.InitInstance({scratch / "keep"}), 3);
    EXPECT_FALSE(IsIconic(runningCopy));
    EXPECT_EQ(RunLogTexts(scratch),
              std::vector<std::string>{"Another copy of the program is already running, so nothing was saved."});
    // No save: neither the directory nor the configuration was touched.
    EXPECT_FALSE(qztest::Exists(scratch / "keep"));
    EXPECT_FALSE(qztest::Exists(qztest::ConfigFilePath()));
    EXPECT_TRUE(boxes.empty());
}

// Two starts in the same instant: the second may look for the window
// before the first has one, but the first holds the mutex by then. The
// check fails closed: a mutex that is there but closed to this process
// (another session's, another user's) or that cannot be made counts as a
// running copy.
TEST_F(BackupAppTest, ACopyHoldingTheMutexStopsAStartBeforeItHasAWindow)
{
    qztest::ScratchFolder scratch("app");
    WorkIn(scratch);
    auto expectStopped = [&](const char* how, std::size_t logLines, const std::string& keep = "keep") {
        BackupApp start;
        EXPECT_EQ(start.InitInstance({scratch / keep}), 3) << how;
        EXPECT_FALSE(qztest::Exists(scratch / "keep")) << how;
        EXPECT_EQ(RunLogTexts(scratch).size(), logLines) << how;
        EXPECT_TRUE(boxes.empty()) << how;
    };
    {
        const win::SharedMutex firstCopy(kSingleInstanceMutexName);
        ASSERT_FALSE(firstCopy.ExistedBefore());
        expectStopped("held", 1);
    }
    // A directory too long to save into: a start that took the failure for
    // no copy ends with status 2 here, before any window or save.
    win::FailCall(win::Op::MutexCreate, 1, ERROR_NO_SYSTEM_RESOURCES);
    expectStopped("not made", 2, std::string(128, 'k'));

    // Nobody but its maker's SYSTEM account may open this one.
    SECURITY_ATTRIBUTES closed = {sizeof closed, nullptr, FALSE};
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;GA;;;SY)", SDDL_REVISION_1,
                                                                     &closed.lpSecurityDescriptor, nullptr));
    const std::wstring name = L"Global\\QzkeepsetRunningCopy";
    HANDLE other = CreateMutexW(&closed, FALSE, name.c_str());
    LocalFree(closed.lpSecurityDescriptor);
    ASSERT_NE(other, nullptr);
    HANDLE again = OpenMutexW(SYNCHRONIZE, FALSE, name.c_str());
    const bool denied = again == nullptr && GetLastError() == ERROR_ACCESS_DENIED;
    if (again != nullptr)
        CloseHandle(again);
    if (denied)
        expectStopped("closed to this process", 3);
    CloseHandle(other);
    if (!denied)
        GTEST_SKIP() << "Wine lets the process open a mutex whose access list shuts it out; on Windows the "
                        "open is denied and that counts as a running copy";
}

TEST_F(BackupAppTest, AMissingLanguageLibraryIsReportedAndTheEnglishTextsStay)
{
    SetLanguage("FR");
    // Stops the start at the English title: the texts stayed English.
    OpenRunningCopy();
    EXPECT_EQ(app.InitInstance({}), 0);
    EXPECT_EQ(win::CallCount(win::Op::LibraryLoad), 1u);
    EXPECT_EQ(app.LanguageLibrary, nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Failed to load the resource DLL qzkeep_fr.dll !");
    EXPECT_EQ(boxes[0].caption, "Error !");
    EXPECT_EQ(boxes[0].style, 0x30u);
}

TEST_F(BackupAppTest, OnlyDTAndFRInCapitalsAskForALibrary)
{
    OpenRunningCopy();
    for (const char* other : {"dt", "fr", "De", ""}) {
        SetLanguage(other);
        EXPECT_EQ(app.InitInstance({}), 0) << other;
    }
    EXPECT_EQ(win::CallCount(win::Op::LibraryLoad), 0u);
    EXPECT_TRUE(boxes.empty());

    SetLanguage("DT");
    win::FailCall(win::Op::LibraryLoad, 1, ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(app.InitInstance({}), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Failed to load the resource DLL qzkeep_dt.dll !");
}

TEST_F(BackupAppTest, ASaveDirectoryLongerThan127CharactersIsRefusedWithoutSavingOrABox)
{
    qztest::ScratchFolder scratch("app");
    WorkIn(scratch);
    SetLanguage("FR");
    const std::string configBefore = qztest::ReadFileText(qztest::ConfigFilePath());
    const std::string tooLong = scratch / std::string(128, 'k');
    EXPECT_EQ(app.InitInstance({"/s", tooLong}), 2);
    // Nobody is there to close a box, from the first one on.
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(RunLogTexts(scratch),
              (std::vector<std::string>{"Failed to load the resource DLL qzkeep_fr.dll !",
                                        "The save directory on the command line is longer than 127 characters, "
                                        "so nothing was saved: " + tooLong}));
    EXPECT_FALSE(qztest::Exists(tooLong));
    EXPECT_EQ(qztest::ReadFileText(qztest::ConfigFilePath()), configBefore);
}

TEST_F(BackupAppTest, ARunningCopyComesFirstEvenForATooLongDirectory)
{
    OpenRunningCopy();
    EXPECT_EQ(app.InitInstance({"C:\\" + std::string(200, 'k')}), 3);
    EXPECT_TRUE(boxes.empty());
}
