#include "restore/RunRestore.h"

#include "config/ConfigFile.h"
#include "restore/KeepsetPlan.h"
#include "restore/KeepsetRecordValues.h"
#include "restore/RestoreDirectory.h"
#include "restore/RestoreMySql.h"
#include "restore/RestorePaths.h"
#include "restore/RestoreProgress.h"
#include "restore/RestoreRules.h"
#include "save/KeepsetRecordFormat.h"
#include "save/KeepsetSlot.h"
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
constexpr std::size_t kStateLength = 39;
constexpr std::size_t kPersonnelNameLength = 39;

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

int ShowBox2(unsigned textId, const std::string& first, const std::string& second, unsigned style)
{
    return win::ShowMessageBox(win::FormatText(textId, first, second), win::ApplicationName(), style);
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

std::string ReadHtdocsPath()
{
    return win::ReadProfileString(kConfigFile, kSectionConfig, "WebHtdocsPath", "", kHtdocsLength);
}

// Restores the items of one run into their places. It walks the items
// twice: first to plan every keepset directory they read (nothing is
// touched), then to restore them, each directory with its plan. Targets
// are found only on the second walk, item by item, as the items before
// may have put back what names them.
class ItemRestorer {
public:
    ItemRestorer(RestoreProgress& progress, const std::string& root, const KeepsetRecordValues& record,
                 const Targets& targets, const ParsedManifest* manifest)
        : progress_(progress), root_(root), record_(record), targets_(targets), manifest_(manifest)
    {
    }

    void Full()
    {
        Restore(QztDirectory);
        Step(IntoInstallation("\\db1", "", "vm001.dbf"));
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
        for (const CustomRow& row : rows) {
            if (row.checked)
                Restore(row.itemCode);
        }
    }

    // After a planning walk: the next walk restores.
    void StartRestoring()
    {
        planning_ = false;
        next_ = 0;
    }

    // The planned files that are missing from the keepset or not the size
    // the manifest lists, and the first of them.
    std::size_t Damaged(std::string& first) const
    {
        std::size_t count = 0;
        for (const DirectoryPlan& plan : plans_) {
            for (const PlannedFile& file : plan.files) {
                if ((file.verdict != FileVerdict::Missing && file.verdict != FileVerdict::Changed) ||
                    !IsRestoredName(plan, file.name))
                    continue;
                if (count++ == 0)
                    first = FileInDirectory(KeepsetDirectory(root_, plan.subDirectory), file.name);
            }
        }
        return count;
    }

private:
    void Restore(int code)
    {
        switch (code) {
        case AlarmConfiguration:
            Step(IntoInstallation("\\db1", "vm001.dbf", "vm001.dbf"));
            break;
        case GroupAndPersonnel:
            // Saved only when configured: a manifest shows whether they were.
            for (const char* name : {"qzpersonal.dbf", "qzgroups.dbf", "qzlink.dbf"})
                Step(IntoInstallation("\\db1", name, name, manifest_ != nullptr || !ConfiguredPersonnelFile(name)));
            break;
        case QztDirectory:
            Step(IntoInstallation("\\qzt", ""));
            break;
        case WindowsIni:
            // The configuration file in use holds the keepset list and the
            // settings as they are now; the keepset's copy is older than
            // its own record. It is put back only where none is left.
            IntoTarget(targets_.windowsDirectory, "the Windows directory cannot be read", "\\win", "",
                       DirectoryKind::WindowsIni, kConfigFile);
            break;
        case Desktop:
            IntoTarget(targets_.allUsersDesktop, "the all-users desktop folder cannot be read", "\\desktop\\all", "");
            IntoTarget(targets_.userDesktop, "the user's desktop folder cannot be read", "\\desktop\\user", "");
            break;
        case VoiceMessages:
            Step(IntoInstallation("\\dbv1", ""));
            break;
        case WebPrograms:
            IntoTarget(planning_ ? std::string() : ReadHtdocsPath(), "[Config] WebHtdocsPath is empty", "\\web\\htdocs",
                       "");
            break;
        case MySqlDatabases: {
            const DirectoryPlan& plan = Plan("\\mysql", "*.sql", DirectoryKind::Dumps);
            if (!planning_)
                Step(RestoreMySql(progress_, root_, plan));
            break;
        }
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

    // Without a manifest, the keepset's copy of qzpers.ini tells which of
    // the personnel files the save was set to save; without that either,
    // each is expected.
    bool ConfiguredPersonnelFile(const std::string& name) const
    {
        const std::string ini = KeepsetDirectory(root_, "\\win\\qzpers.ini");
        if (!planning_ || !win::EntryExists(ini))
            return true;
        for (const char* key : {"Pers", "Group", "Link"})
            if (SameFileName(win::ReadProfileString(ini, "DBInfo", key, "", kPersonnelNameLength), name))
                return true;
        return false;
    }

    void RestoreAdditional(const std::string& value)
    {
        if (value.empty())
            return;
        const AdditionalEntry entry = AdditionalEntryOf(value);
        IntoTarget(entry.target, "\"" + value + "\" names no directory", entry.subDirectory, entry.pattern);
    }

    // The plan of the next keepset directory: made on the planning walk,
    // taken in the same order on the restoring walk.
    const DirectoryPlan& Plan(const std::string& subDirectory, const std::string& pattern, DirectoryKind kind,
                              const std::string& expected = std::string(), bool expectedUnlessUnlisted = false)
    {
        if (planning_) {
            plans_.push_back(PlanDirectory(root_, manifest_, subDirectory, pattern, kind));
            plans_.back().expected = expected;
            plans_.back().expectedUnlessUnlisted = expectedUnlessUnlisted;
            return plans_.back();
        }
        return plans_.at(next_++);
    }

    // \qzt, \db1 and \dbv1 go back to the root of the current drive, where
    // the installation keeps them.
    int IntoInstallation(const std::string& subDirectory, const std::string& pattern,
                         const std::string& expected = std::string(), bool expectedUnlessUnlisted = false)
    {
        const DirectoryPlan& plan = Plan(subDirectory, pattern, DirectoryKind::Files, expected, expectedUnlessUnlisted);
        if (planning_)
            return 0;
        return RestoreDirectory(progress_, subDirectory, root_, plan);
    }

    // A target that could not be found is skipped as a failure: an empty
    // one would name the root of the current drive.
    void IntoTarget(const std::string& target, const std::string& whyNone, const std::string& subDirectory,
                    const std::string& pattern, DirectoryKind kind = DirectoryKind::Files,
                    const std::string& keepWhenPresent = std::string())
    {
        const DirectoryPlan& plan = Plan(subDirectory, pattern, kind);
        if (planning_)
            return;
        if (target.empty()) {
            progress_.WriteRestoreLog("FAILED to restore " + KeepsetSearch(root_, subDirectory, pattern) +
                                      ": no target directory, " + whyNone);
            progress_.MarkFailed();
            return;
        }
        Step(RestoreDirectory(progress_, target, root_, plan, keepWhenPresent));
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
    const ParsedManifest* manifest_;
    bool planning_ = true;
    std::vector<DirectoryPlan> plans_;  // in walking order
    std::size_t next_ = 0;
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

// A keepset whose save did not end, or ended with errors, is restored only
// when the user says so.
//
// A save that dies leaves no record file in its directory, only its list
// entry saying "running"; "Select" then writes a record without a state.
// For another root of unknown state the list entry of the same directory
// speaks.
KeepsetState StateOf(const RestoreRequest& request, const std::string& root)
{
    const KeepsetState state = KeepsetStateOf(
        win::ReadProfileString(request.recordFile, request.recordSection, kKeyState, "", kStateLength));
    if (state != KeepsetState::Unknown || request.source != RestoreSource::OtherRoot)
        return state;
    for (int entry = 1; entry <= kKeepsetSlots; ++entry) {
        const std::string section = KeepsetSectionName(entry);
        const std::string path = win::ReadProfileString(kConfigFile, section, kKeyPath, "", kRootLength);
        if (path.empty())
            break;
        if (SameFileName(path, root))
            return KeepsetStateOf(win::ReadProfileString(kConfigFile, section, kKeyState, "", kStateLength));
    }
    return state;
}

bool StateAllowsRestore(KeepsetState state, const std::string& root)
{
    unsigned textId = 0;
    if (state == KeepsetState::Running)
        textId = IDS_RESTORE_INCOMPLETE_QUESTION;
    else if (state == KeepsetState::Errors)
        textId = IDS_RESTORE_WITH_ERRORS_QUESTION;
    else
        return true;
    return ShowBox(textId, root, win::kBoxYesNo | win::kBoxIconWarning | win::kBoxSecondDefault) == win::kAnswerYes;
}

// Reads the manifest and says what it means for the run; false when the
// run must not go on.
// A save that did not end well writes no manifest of its own: without
// one, its cut or empty copies cannot be told from whole ones.
bool ReadManifest(RestoreProgress& progress, const std::string& root, KeepsetState state, KeepsetManifest& manifest)
{
    manifest.Read(root);
    switch (manifest.GetStatus()) {
    case KeepsetManifest::Status::Absent:
        if (state == KeepsetState::Running || state == KeepsetState::Errors) {
            progress.WriteRestoreLog("FAILED to verify the keepset: its save did not end well and it has no manifest " +
                                     manifest.Path() + ": nothing is restored");
            progress.MarkFailed();
            return false;
        }
        progress.WriteRestoreLog("The keepset cannot be verified: it has no manifest " + manifest.Path() +
                                 "; its files are restored unchecked");
        return true;
    case KeepsetManifest::Status::Unreadable:
        progress.WriteRestoreLog("FAILED to read the keepset's manifest " + manifest.Path() + " (error " +
                                 std::to_string(manifest.Error()) + "): nothing is restored");
        progress.MarkFailed();
        return false;
    case KeepsetManifest::Status::Read:
        break;
    }
    if (manifest.Entries()->malformedLines > 0)
        progress.WriteRestoreLog("The keepset's manifest has " + std::to_string(manifest.Entries()->malformedLines) +
                                 " lines that are not understood: files they may list are not restored");
    if (!manifest.SizesRead())
        progress.WriteRestoreLog("The keepset's size list cannot be read: the files are checked by their hashes only");
    return true;
}

}  // namespace

bool RunRestore(const RestoreRequest& request, RestoreRunHost& host)
{
    std::string root;
    if (!ChosenRoot(request, root))
        return false;
    const KeepsetState state = StateOf(request, root);
    if (!StateAllowsRestore(state, root))
        return false;
    if (ShowBox(IDS_RESTORE_QUESTION, root, win::kBoxYesNo | win::kBoxIconQuestion) != win::kAnswerYes)
        return false;

    host.ShowWaitCursor();
    RestoreProgress progress;
    progress.OpenLog();
    const Targets targets = ReadTargets();
    const KeepsetRecordValues record = ReadKeepsetRecordValues(request.recordFile, request.recordSection);
    progress.WriteRestoreLog(
        (request.kind == RestoreKind::Full ? "Start full restore from " : "Start custom restore from ") + root);

    KeepsetManifest manifest;
    bool go = ReadManifest(progress, root, state, manifest);
    ItemRestorer items(progress, root, record, targets, manifest.Entries());
    const auto walk = [&]() {
        if (request.kind == RestoreKind::Full)
            items.Full();
        else
            items.Custom(request.customRows);
    };
    if (go) {
        walk();
        std::string first;
        const std::size_t damaged = items.Damaged(first);
        if (damaged > 0 &&
            ShowBox2(IDS_RESTORE_DAMAGED_QUESTION, std::to_string(damaged), first,
                     win::kBoxYesNo | win::kBoxIconWarning | win::kBoxSecondDefault) != win::kAnswerYes) {
            progress.WriteRestoreLog("Nothing restored: " + std::to_string(damaged) +
                                     " files of the keepset are missing or changed, the first " + first);
            progress.CloseLog();
            host.ShowArrowCursor();
            return false;
        }
    }
    if (go) {
        items.StartRestoring();
        walk();
    }

    ShowSummary(progress);
    progress.CloseLog();
    host.ShowArrowCursor();
    if (progress.Restored())
        host.CloseWithOk();
    return progress.Restored();
}
