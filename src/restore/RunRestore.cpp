#include "restore/RunRestore.h"

#include "config/ConfigFile.h"
#include "restore/KeepsetPlan.h"
#include "keepset/KeepsetRecordValues.h"
#include "restore/RestoreDirectory.h"
#include "restore/RestoreMySql.h"
#include "restore/RestorePaths.h"
#include "restore/RestoreProgress.h"
#include "restore/RestoreRules.h"
#include "keepset/KeepsetRecordFormat.h"
#include "keepset/KeepsetSlot.h"
#include "win/Files.h"
#include "win/MessageBoxes.h"
#include "win/ProgramFile.h"
#include "win/Profile.h"
#include "win/Registry.h"
#include "win/Texts.h"
#include "resource.h"

#include <cctype>
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
// Where the installation is registered, as the save finds its drive.
const char kInstallationKey[] = "SOFTWARE\\Orvella\\Orvella Tool";
constexpr std::size_t kInstallDirectoryBytes = 256;

// The places outside the installation's own directories that files go
// back to; each stays empty when it cannot be read.
struct Targets {
    // "D:" for an installation registered on drive D:; empty (the current
    // drive) when none is registered.
    std::string installDrive;
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

// The drive of the registered installation directory, as the save reads
// it: \qzt, \db1 and \dbv1 go back where the save took them from, also
// when the program runs from another drive.
std::string InstallDrive()
{
    std::string directory;
    if (!win::ReadRegistryString(win::RegistryRoot::LocalMachine, kInstallationKey, "Directory",
                                 kInstallDirectoryBytes, directory))
        return std::string();
    if (directory.size() < 2 || directory[1] != ':' || !std::isalpha(static_cast<unsigned char>(directory[0])))
        return std::string();
    return directory.substr(0, 2);
}

Targets ReadTargets()
{
    Targets targets;
    targets.installDrive = InstallDrive();
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

using Names = std::vector<std::string>;

const char* const kPersonnelFiles[] = {"qzpersonal.dbf", "qzgroups.dbf", "qzlink.dbf"};

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
        // The alarm configuration, and the personnel files the keepset's
        // qzpers.ini says were saved.
        Names expected{"vm001.dbf"};
        for (const char* name : kPersonnelFiles)
            if (ConfiguredPersonnelFiles().known && PersonnelFileExpected(name))
                expected.push_back(name);
        Step(IntoInstallation("\\db1", "", expected));
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
            Step(IntoInstallation("\\db1", "vm001.dbf", {"vm001.dbf"}));
            break;
        case GroupAndPersonnel:
            for (const char* name : kPersonnelFiles)
                Step(IntoInstallation("\\db1", name, PersonnelFileExpected(name) ? Names{name} : Names{}));
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

    // The personnel files the save was set to save, by the keepset's copy
    // of qzpers.ini ([DBInfo] Pers, Group and Link); not known without one.
    struct Personnel {
        bool known = false;
        Names configured;
    };
    const Personnel& ConfiguredPersonnelFiles()
    {
        if (personnelRead_)
            return personnel_;
        personnelRead_ = true;
        const std::string ini = KeepsetDirectory(root_, "\\win\\qzpers.ini");
        personnel_.known = win::EntryExists(ini);
        if (personnel_.known) {
            for (const char* key : {"Pers", "Group", "Link"})
                personnel_.configured.push_back(
                    win::ReadProfileString(ini, "DBInfo", key, "", kPersonnelNameLength));
        }
        return personnel_;
    }

    // Whether the keepset must hold a personnel file: one its qzpers.ini
    // names was saved, and its absence means that its save failed. Without
    // that copy, a manifest that does not list the file shows that the
    // save did not save it, and a keepset without either is expected to
    // hold all three.
    bool PersonnelFileExpected(const std::string& name)
    {
        const Personnel& personnel = ConfiguredPersonnelFiles();
        if (!personnel.known)
            return manifest_ == nullptr;
        for (const std::string& configured : personnel.configured)
            if (SameFileName(configured, name))
                return true;
        return false;
    }

    void RestoreAdditional(const std::string& value)
    {
        if (value.empty())
            return;
        if (!IsSafeAdditionalPath(value)) {
            // Neither read nor written: it names no place of its own.
            if (!planning_) {
                progress_.WriteRestoreLog("FAILED to restore the additional directory " + value +
                                          ": not a full path, or a path with a \"..\" part; nothing is restored "
                                          "there");
                progress_.MarkFailed();
            }
            return;
        }
        const AdditionalEntry entry = AdditionalEntryOf(value);
        IntoTarget(entry.target, "\"" + value + "\" names no directory", entry.subDirectory, entry.pattern);
    }

    // The plan of the next keepset directory: made on the planning walk,
    // taken in the same order on the restoring walk.
    const DirectoryPlan& Plan(const std::string& subDirectory, const std::string& pattern, DirectoryKind kind,
                              const Names& expected = Names())
    {
        if (planning_) {
            plans_.push_back(PlanDirectory(root_, manifest_, subDirectory, pattern, kind));
            plans_.back().expected = expected;
            return plans_.back();
        }
        return plans_.at(next_++);
    }

    // \qzt, \db1 and \dbv1 go back to the root of the installation's
    // drive, where the installation keeps them.
    int IntoInstallation(const std::string& subDirectory, const std::string& pattern, const Names& expected = Names())
    {
        const DirectoryPlan& plan = Plan(subDirectory, pattern, DirectoryKind::Files, expected);
        if (planning_)
            return 0;
        return RestoreDirectory(progress_, targets_.installDrive + subDirectory, root_, plan);
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
    bool personnelRead_ = false;
    Personnel personnel_;
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

// Whether the run restores the item: every item of a full restore, the
// checked rows of a custom one.
bool RestoresItem(const RestoreRequest& request, int code)
{
    if (request.kind == RestoreKind::Full)
        return true;
    for (const CustomRow& row : request.customRows)
        if (row.checked && row.itemCode == code)
            return true;
    return false;
}

// The question before the run. A keepset chosen with "Select" names in its
// own record the additional directories it is written back into, which
// may be anywhere: the question names each of them, as the custom list
// does, before anything is written.
std::string RestoreQuestion(const RestoreRequest& request, const std::string& root, const KeepsetRecordValues& record)
{
    const std::string question = win::FormatText(IDS_RESTORE_QUESTION, root);
    if (request.source != RestoreSource::OtherRoot)
        return question;
    std::string additional;
    const std::string text = win::LoadText(IDS_ITEM_ADDITIONAL_FILES);
    const std::size_t placeholder = text.find("%s");
    for (int code = Additional1; code <= Additional4; ++code) {
        const std::string& value = record.saveAdd[code - Additional1];
        if (value.empty() || !RestoresItem(request, code))
            continue;
        additional += "\n" + (placeholder == std::string::npos
                                  ? text + " " + value
                                  : text.substr(0, placeholder) + value + text.substr(placeholder + 2));
    }
    return additional.empty() ? question : question + "\n" + additional;
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
    const KeepsetRecordValues record = ReadKeepsetRecordValues(request.recordFile, request.recordSection);
    if (win::ShowMessageBox(RestoreQuestion(request, root, record), win::ApplicationName(),
                            win::kBoxYesNo | win::kBoxIconQuestion) != win::kAnswerYes)
        return false;

    host.ShowWaitCursor();
    RestoreProgress progress;
    progress.OpenLog();
    const Targets targets = ReadTargets();
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
        progress.LogLeftOut();
    }

    ShowSummary(progress);
    progress.CloseLog();
    host.ShowArrowCursor();
    if (progress.Restored())
        host.CloseWithOk();
    return progress.Restored();
}
