#include "app/BackupApp.h"

#include "app/StartOptions.h"
#include "config/ConfigFile.h"
#include "keepset/RunEvents.h"
#include "keepset/VerifyKeepset.h"
#include "resource.h"
#include "save/Reports.h"
#include "ui/MainDialog.h"
#include "win/Libraries.h"
#include "win/MessageBoxes.h"
#include "win/Process.h"
#include "win/Profile.h"
#include "win/TestHold.h"
#include "win/Texts.h"

#include <windows.h>
#include <commctrl.h>

namespace {

constexpr std::size_t kDefaultLanguageLength = 79;
constexpr int kExitWindowFailed = 1;
constexpr int kExitSaveCutShort = 1;
constexpr int kExitArgumentTooLong = 2;
constexpr int kExitAnotherCopyRuns = 3;

// "/verify [DIR]": checks keepsets and ends, with no window and no box
// (what a box would say goes to the run log). It only reads, so a copy at
// work in its window does not stop it, and it takes no language: its
// lines and its event are the same in every one.
int RunVerifyOnly(const std::string& directory)
{
    win::SetUnattendedBoxSink(AppendRunLogLine);
    return RunVerify(directory);
}

// The end of an unattended start, for the system's monitoring.
int EndUnattended(const std::string& saveDirectory, int exitStatus)
{
    ReportSaveEvent(saveDirectory, exitStatus);
    return exitStatus;
}

}  // namespace

int BackupApp::InitInstance(const std::vector<std::string>& arguments)
{
    const VerifyArgument verify = FindVerifyArgument(arguments);
    if (verify.asked)
        return RunVerifyOnly(verify.directory);

    const SaveDirectoryArgument saveDirectory = FindSaveDirectoryArgument(arguments);
    // Started for a save, by a scheduler most likely: from here on nobody
    // is there to close a box, and what a box would say goes to the run log.
    const bool unattended = saveDirectory.directory.size() >= 3;
    if (unattended)
        win::SetUnattendedBoxSink(AppendRunLogLine);
    LoadLanguageLibrary();
    // Another copy is at work: it is brought to the front and this one does
    // nothing, not even the save it may have been started for; a scheduler
    // learns that from the status.
    if (AnotherCopyRuns()) {
        if (!unattended)
            return 0;
        AppendRunLogLine(win::LoadText(IDS_ANOTHER_COPY_RUNS));
        return EndUnattended(saveDirectory.directory, kExitAnotherCopyRuns);
    }
    // The tests of two starts in the same instant hold the first here.
    win::HoldForTest(win::kStartedCopyHoldVariable);
    if (saveDirectory.tooLong) {
        win::ShowMessageBox(win::FormatText(IDS_ARGUMENT_TOO_LONG, std::to_string(kSaveDirectoryArgumentLength),
                                            saveDirectory.directory),
                            win::LoadText(IDS_ERROR_CAPTION), win::kBoxIconWarning);
        return EndUnattended(saveDirectory.directory, kExitArgumentTooLong);
    }
    InitCommonControls();
    MainDialog mainDialog;
    // A save directory there asks for an unattended save.
    mainDialog.SaveDirectoryText = saveDirectory.directory;
    if (mainDialog.RunModal() == -1)
        return unattended ? EndUnattended(saveDirectory.directory, kExitWindowFailed) : kExitWindowFailed;
    // Closed while a save run was at work: the run ends unfinished with the
    // program, and a scheduler must not take that for a save.
    if (mainDialog.IsBusy())
        return unattended ? EndUnattended(saveDirectory.directory, kExitSaveCutShort) : kExitSaveCutShort;
    return 0;
}

// [Config] "DefaultLanguage" names the library; when it cannot be loaded the
// user is told, and the built-in texts stay.
void BackupApp::LoadLanguageLibrary()
{
    const std::string language =
        win::ReadProfileString(kConfigFile, kSectionConfig, "DefaultLanguage", "", kDefaultLanguageLength);
    const std::string library = LanguageLibraryName(language);
    if (library.empty())
        return;
    LanguageLibrary = win::LoadResourceLibrary(library);
    if (LanguageLibrary != nullptr) {
        win::SetResourceModule(LanguageLibrary);
        return;
    }
    win::ShowMessageBox(win::FormatText(IDS_LANGUAGE_LIBRARY_FAILED, library), win::LoadText(IDS_ERROR_CAPTION),
                        win::kBoxIconWarning);
}

// Two starts in the same instant may both miss the other's window, which
// does not exist yet: the mutex is taken by the first, whatever language
// either speaks and in whatever session it runs. A mutex that is there but
// cannot be opened, or cannot be made, counts as taken. A window of that
// title, of whatever program, stops a start too.
bool BackupApp::AnotherCopyRuns()
{
    if (!instanceMutex_)
        instanceMutex_ = std::make_unique<win::SharedMutex>(kSingleInstanceMutexName);
    const bool windowFound = BringRunningCopyToFront();
    return instanceMutex_->ExistedBefore() || windowFound;
}

// The main window is found by its title in the chosen language, whatever
// program shows it.
bool BackupApp::BringRunningCopyToFront() const
{
    const std::string title = win::LoadText(IDS_MAIN_TITLE);
    // An empty title would match any window without one.
    if (title.empty())
        return false;
    const HWND running = FindWindowA(nullptr, title.c_str());
    if (running == nullptr)
        return false;
    ShowWindow(running, SW_RESTORE);
    SetForegroundWindow(running);
    return true;
}
