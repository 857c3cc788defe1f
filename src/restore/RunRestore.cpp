#include "restore/RunRestore.h"

#include "config/ConfigFile.h"
#include "restore/KeepsetRecordValues.h"
#include "restore/RestoreDirectory.h"
#include "restore/RestoreMySql.h"
#include "restore/RestorePaths.h"
#include "restore/RestoreProgress.h"
#include "save/KeepsetRecordFormat.h"
#include "win/Files.h"
#include "win/MessageBoxes.h"
#include "win/ProgramFile.h"
#include "win/Profile.h"
#include "win/Registry.h"
#include "win/Texts.h"
#include "resource.h"

#include <string>

namespace {

// The lengths the save side writes these values with: a shorter reader
// would cut a path and restore into another directory.
constexpr std::size_t kRootLength = 511;
constexpr std::size_t kHtdocsLength = 255;
constexpr std::size_t kWindowsDirectoryLength = 79;

const char kShellFolders[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The places outside the installation's own directories that files go
// back to; each stays empty when it cannot be read.
struct Targets {
    std::string allUsersDesktop;
    std::string userDesktop;
    std::string windowsDirectory;
};

std::string ShellFolder(win::RegistryRoot root, const char* value)
{
    std::string folder;
    if (!win::ReadRegistryPath(root, kShellFolders, value, folder))
        folder.clear();
    return folder;
}

Targets ReadTargets()
{
    Targets targets;
    targets.allUsersDesktop = ShellFolder(win::RegistryRoot::LocalMachine, "Common Desktop");
    targets.userDesktop = ShellFolder(win::RegistryRoot::CurrentUser, "Desktop");
    targets.windowsDirectory = win::WindowsDirectory(kWindowsDirectoryLength);
    return targets;
}

int ShowBox(unsigned textId, const std::string& value, unsigned style)
{
    return win::ShowMessageBox(win::FormatText(textId, value), win::ApplicationName(), style);
}

// The keepset root the request names; false, after string 139, when no
// source is chosen.
bool ChosenRoot(const RestoreRequest& request, std::string& root)
{
    root.clear();
    if (!request.recordFile.empty() && !request.recordSection.empty()) {
        if (request.source == RestoreSource::KeepsetList)
            root = win::ReadProfileString(request.recordFile, request.recordSection, kKeyPath, "", kRootLength);
        else
            root = request.keepsetRoot;
    }
    if (!root.empty())
        return true;
    ShowBox(IDS_NO_DATASOURCE, "", win::kBoxOk | win::kBoxIconWarning);
    return false;
}

// Restores the items of one run into their places.
class ItemRestorer {
public:
    ItemRestorer(RestoreProgress& progress, const std::string& root, const KeepsetRecordValues& record,
                 const Targets& targets)
        : progress_(progress), root_(root), record_(record), targets_(targets)
    {
    }

    void Full()
    {
        progress_.WriteRestoreLog("Start full restore from " + root_);
        Restore(QztDirectory);
        Step(IntoInstallation("\\db1", ""));
        Restore(WindowsIni);
        if (record_.flags.saveMsg)
            Restore(VoiceMessages);
        if (record_.flags.saveDesktop)
            Restore(Desktop);
        if (record_.flags.saveWeb)
            Restore(WebPrograms);
        if (record_.flags.saveMySql)
            Restore(MySqlDatabases);
        for (int code = Additional1; code <= Additional4; ++code)
            Restore(code);
    }

    void Custom(const std::vector<CustomRow>& rows)
    {
        progress_.WriteRestoreLog("Start custom restore from " + root_);
        for (const CustomRow& row : rows) {
            if (row.checked)
                Restore(row.itemCode);
        }
    }

private:
    void Restore(int code)
    {
        switch (code) {
        case AlarmConfiguration:
            Step(IntoInstallation("\\db1", "vm001.dbf"));
            break;
        case GroupAndPersonnel:
            Step(IntoInstallation("\\db1", "qzpersonal.dbf"));
            Step(IntoInstallation("\\db1", "qzgroups.dbf"));
            Step(IntoInstallation("\\db1", "qzlink.dbf"));
            break;
        case QztDirectory:
            Step(IntoInstallation("\\qzt", ""));
            break;
        case WindowsIni:
            // The configuration file in use holds the keepset list and the
            // settings as they are now; the keepset's copy is older than
            // its own record. It is put back only where none is left.
            IntoTarget(targets_.windowsDirectory, "the Windows directory cannot be read", "\\win", "", kConfigFile);
            break;
        case Desktop:
            IntoTarget(targets_.allUsersDesktop, "the all-users desktop folder cannot be read", "\\desktop\\all", "");
            IntoTarget(targets_.userDesktop, "the user's desktop folder cannot be read", "\\desktop\\user", "");
            break;
        case VoiceMessages:
            Step(IntoInstallation("\\dbv1", ""));
            break;
        case WebPrograms:
            IntoTarget(win::ReadProfileString(kConfigFile, kSectionConfig, "WebHtdocsPath", "", kHtdocsLength),
                       "[Config] WebHtdocsPath is empty", "\\web\\htdocs", "");
            break;
        case MySqlDatabases:
            Step(RestoreMySql(progress_, root_, "\\mysql"));
            break;
        case Additional1:
        case Additional2:
        case Additional3:
        case Additional4:
            RestoreAdditional(record_.saveAdd[code - Additional1]);
            break;
        default:
            break;
        }
    }

    void RestoreAdditional(const std::string& value)
    {
        if (value.empty())
            return;
        const AdditionalEntry entry = AdditionalEntryOf(value);
        IntoTarget(entry.target, "\"" + value + "\" names no directory", entry.subDirectory, entry.pattern);
    }

    // \qzt, \db1 and \dbv1 go back to the root of the current drive, where
    // the installation keeps them.
    int IntoInstallation(const std::string& subDirectory, const std::string& pattern)
    {
        return RestoreDirectory(progress_, subDirectory, root_, subDirectory, pattern);
    }

    // A target that could not be found is skipped as a failure: an empty
    // one would name the root of the current drive.
    void IntoTarget(const std::string& target, const std::string& whyNone, const std::string& subDirectory,
                    const std::string& pattern, const std::string& keepWhenPresent = std::string())
    {
        if (target.empty()) {
            progress_.WriteRestoreLog("FAILED to restore " + KeepsetSearch(root_, subDirectory, pattern) +
                                      ": no target directory, " + whyNone);
            progress_.MarkFailed();
            return;
        }
        Step(RestoreDirectory(progress_, target, root_, subDirectory, pattern, keepWhenPresent));
    }

    void Step(int result)
    {
        if (result == 1)
            progress_.MarkFailed();
    }

    RestoreProgress& progress_;
    const std::string& root_;
    const KeepsetRecordValues& record_;
    const Targets& targets_;
};

void ShowSummary(const RestoreProgress& progress)
{
    if (progress.Failed())
        ShowBox(IDS_RESTORE_HAD_ERRORS, "", win::kBoxOk | win::kBoxIconWarning);
    else if (!progress.Restored())
        ShowBox(IDS_NOTHING_RESTORED, "", win::kBoxOk | win::kBoxIconWarning);
    else
        ShowBox(IDS_RESTORE_SUCCEEDED, "", win::kBoxOk | win::kBoxIconInformation);
}

}  // namespace

bool RunRestore(const RestoreRequest& request, RestoreRunHost& host)
{
    std::string root;
    if (!ChosenRoot(request, root))
        return false;
    if (ShowBox(IDS_RESTORE_QUESTION, root, win::kBoxYesNo | win::kBoxIconQuestion) != win::kAnswerYes)
        return false;

    host.ShowWaitCursor();
    RestoreProgress progress;
    progress.OpenLog();
    const Targets targets = ReadTargets();
    const KeepsetRecordValues record = ReadKeepsetRecordValues(request.recordFile, request.recordSection);

    ItemRestorer items(progress, root, record, targets);
    if (request.kind == RestoreKind::Full)
        items.Full();
    else
        items.Custom(request.customRows);

    ShowSummary(progress);
    progress.CloseLog();
    host.ShowArrowCursor();
    if (progress.Restored())
        host.CloseWithOk();
    return progress.Restored();
}
