#include "restore/RestoreDirectory.h"

#include "restore/RestorePaths.h"
#include "win/EntryIdentity.h"
#include "win/Files.h"
#include "win/HashingCopy.h"
#include "win/Texts.h"
#include "resource.h"

namespace {

std::string ErrorText(unsigned long error)
{
    return "error " + std::to_string(error);
}

void LogFailure(RestoreProgress& progress, const std::string& source, const std::string& destination,
                const std::string& reason)
{
    progress.WriteRestoreLog(win::FormatText(IDS_FILE_RESTORE_FAILED, source, destination) + " (" + reason + ")");
}

// A temporary copy that did not make it goes; one that cannot be removed
// is named, as it lies in the installation's directory.
void RemoveTemporary(RestoreProgress& progress, const std::string& temporary)
{
    if (win::RemoveFile(temporary))
        return;
    const unsigned long error = win::LastError();
    if (error == 2 || error == 3)  // there is none
        return;
    // A copy of a read-only keepset file is read-only too.
    win::SetFileAttributesTo(temporary, win::kAttributeNormal);
    if (!win::RemoveFile(temporary))
        progress.WriteRestoreLog("FAILED to remove the temporary file " + temporary + " (" +
                                 ErrorText(win::LastError()) + ")");
}

// The temporary copies of one target directory: a directory of a new name
// that the run creates in it at the first copy, after it has made sure
// that the target directory itself is no junction, symbolic link or mount
// point, and removes again at the end. Each copy is a new file of its own
// number there.
class TemporaryCopies {
public:
    TemporaryCopies(RestoreProgress& progress, const std::string& target) : progress_(progress), target_(target) {}
    ~TemporaryCopies()
    {
        if (directory_.empty())
            return;
        // Once more after a failure: a scanner that had a look at it may
        // have held it for a moment.
        if (win::RemoveEmptyDirectory(directory_) || win::RemoveEmptyDirectory(directory_))
            return;
        progress_.WriteRestoreLog("FAILED to remove the temporary directory " + directory_ + " (" +
                                  ErrorText(win::LastError()) + ")");
        progress_.MarkFailed();
    }
    TemporaryCopies(const TemporaryCopies&) = delete;
    TemporaryCopies& operator=(const TemporaryCopies&) = delete;

    // The name of the next temporary copy; false, with the reason, when the
    // target directory is not to be written into.
    bool Next(std::string& temporary, std::string& reason)
    {
        if (!tried_) {
            tried_ = true;
            why_ = Prepare();
        }
        reason = why_;
        if (directory_.empty())
            return false;
        temporary = FileInDirectory(directory_, std::to_string(++copies_) + ".tmp");
        return true;
    }

private:
    // Empty when the temporary directory was made; else why not.
    std::string Prepare()
    {
        win::EntryIdentity target;
        if (!win::ExamineEntry(target_, target))
            return "the target directory cannot be opened, " + ErrorText(win::LastError());
        if (win::IsReparsePoint(target))
            return "the target directory is a junction, symbolic link or mount point: nothing is written through it";
        if ((target.attributes & win::kAttributeDirectory) == 0)
            return "the target is no directory";
        std::string made;
        if (!win::CreateUniqueDirectory(target_, kTemporaryDirectoryPrefix, made))
            return "no temporary directory can be made in the target directory, " + ErrorText(win::LastError());
        directory_ = made;
        win::EntryIdentity temporary;
        if (!win::ExamineEntry(directory_, temporary))
            return "the temporary directory " + directory_ + " cannot be opened, " + ErrorText(win::LastError());
        if (win::IsReparsePoint(temporary)) {
            // Not the directory just made: it is left alone.
            directory_.clear();
            return "the temporary directory " + made + " was replaced by a junction or link";
        }
        return std::string();
    }

    RestoreProgress& progress_;
    std::string target_;
    std::string directory_;  // empty until made
    std::string why_;
    bool tried_ = false;
    unsigned long copies_ = 0;
};

// Copy to a new temporary file, check, replace in one step. sha256 empty:
// the keepset has no manifest to check against.
bool ReplaceFile(RestoreProgress& progress, const std::string& source, const std::string& destination,
                 TemporaryCopies& temporaries, const std::string& sha256)
{
    std::string temporary;
    std::string reason;
    if (!temporaries.Next(temporary, reason)) {
        LogFailure(progress, source, destination, reason);
        return false;
    }
    // The bytes are hashed as they go into the copy, and the copy moved
    // is the file checked: what is checked is what was written.
    std::string digest;
    std::uint64_t size = 0;
    switch (win::CopyHashingAndReplace(source, temporary, destination, sha256, digest, size)) {
    case win::CopyOutcome::Replaced:
        break;
    case win::CopyOutcome::CopyFailed:
        reason = "the copy failed, " + ErrorText(win::LastError());
        break;
    case win::CopyOutcome::NotExpected:
        reason = "the copy does not match the keepset's manifest";
        break;
    case win::CopyOutcome::NotReplaced:
        reason = "the file cannot be replaced, " + ErrorText(win::LastError());
        break;
    }
    if (!reason.empty()) {
        LogFailure(progress, source, destination, reason);
        RemoveTemporary(progress, temporary);
        return false;
    }
    progress.WriteRestoreLog(win::FormatText(IDS_FILE_RESTORED, source, destination));
    progress.MarkRestored();
    return true;
}

// Whether destination is the file kept in place (the configuration file in
// use, keep), by what the system says the two are, not by their spelling:
// a short name, another letter case or trailing dots name the same file.
// False with the reason set when it cannot be told.
bool IsKeptFile(const std::string& destination, const win::EntryIdentity& keep, bool& kept, std::string& reason)
{
    win::EntryIdentity entry;
    kept = false;
    if (win::ExamineEntry(destination, entry)) {
        kept = win::SameEntry(entry, keep);
        return true;
    }
    if (win::LastErrorIsNotFound())
        return true;
    reason = "the file in use cannot be told from it, " + ErrorText(win::LastError());
    return false;
}

bool Holds(const DirectoryPlan& plan, const std::string& name)
{
    for (const PlannedFile& file : plan.files)
        if (SameFileName(file.name, name))
            return true;
    return false;
}

}  // namespace

std::string VerdictReason(FileVerdict verdict)
{
    switch (verdict) {
    case FileVerdict::Missing:
        return "missing from the keepset";
    case FileVerdict::Changed:
        return "changed in the keepset: its size is not the one the manifest lists";
    case FileVerdict::Unlisted:
        return "not restored: the keepset's manifest does not list it";
    default:
        return std::string();
    }
}

bool LoggedSearchFailure(RestoreProgress& progress, const std::string& root, const DirectoryPlan& plan)
{
    if (plan.searchError == 0)
        return false;
    progress.WriteRestoreLog(win::FormatText(IDS_RESTORE_DIRECTORY_READ_FAILED,
                                             KeepsetDirectory(root, plan.subDirectory),
                                             std::to_string(plan.searchError)));
    return true;
}

bool LogUnrestorable(RestoreProgress& progress, const PlannedFile& file, const std::string& source,
                     const std::string& destination)
{
    const std::string reason = VerdictReason(file.verdict);
    if (reason.empty())
        return false;
    LogFailure(progress, source, destination, reason);
    return true;
}

int RestoreDirectory(RestoreProgress& progress, const std::string& target, const std::string& root,
                     const DirectoryPlan& plan, const std::string& keepWhenPresent)
{
    const std::string sourceDirectory = KeepsetDirectory(root, plan.subDirectory);
    TemporaryCopies temporaries(progress, target);
    int result = LoggedSearchFailure(progress, root, plan) ? 1 : 0;

    // The file kept in place, when there is one.
    win::EntryIdentity keep;
    bool keeping = false;
    if (!keepWhenPresent.empty() && !plan.files.empty()) {
        keeping = win::ExamineEntry(FileInDirectory(target, keepWhenPresent), keep);
        if (!keeping && !win::LastErrorIsNotFound()) {
            // Without knowing it, none of the files may go into its place.
            progress.WriteRestoreLog("FAILED to restore " + KeepsetSearch(root, plan.subDirectory, plan.pattern) +
                                     " to " + target + " (the file in use " + FileInDirectory(target, keepWhenPresent) +
                                     " cannot be looked at, " + ErrorText(win::LastError()) + ")");
            return 1;
        }
    }
    for (const PlannedFile& file : plan.files) {
        const std::string source = FileInDirectory(sourceDirectory, file.name);
        const std::string destination = FileInDirectory(target, file.name);
        if (!IsRestoredName(plan, file.name)) {
            if (file.verdict != FileVerdict::Missing)
                progress.WriteRestoreLog("Not restored: " + source +
                                         " (a save puts only the configuration ini files into the win folder)");
            continue;
        }
        if (file.verdict == FileVerdict::Unlisted) {
            progress.LeaveOut(source);
            continue;
        }
        if (keeping && file.verdict != FileVerdict::Missing) {
            bool kept = false;
            std::string reason;
            if (!IsKeptFile(destination, keep, kept, reason)) {
                LogFailure(progress, source, destination, reason);
                result = 1;
                continue;
            }
            if (kept) {
                progress.WriteRestoreLog("Kept the file in use: " + destination + " (not replaced by " + source + ")");
                continue;
            }
        }
        if (LogUnrestorable(progress, file, source, destination)) {
            result = 1;
            continue;
        }
        if (!ReplaceFile(progress, source, destination, temporaries,
                         file.verdict == FileVerdict::Verified ? file.sha256 : ""))
            result = 1;
    }

    // After a failed search the expected files may be there all the same.
    bool lacking = false;
    if (plan.searchError == 0) {
        for (const std::string& name : plan.expected) {
            if (Holds(plan, name))
                continue;
            LogFailure(progress, FileInDirectory(sourceDirectory, name), FileInDirectory(target, name),
                       "missing from the keepset");
            lacking = true;
        }
    }
    if (lacking)
        return 1;
    if (plan.searchError == 0 && !plan.anyEntry && plan.files.empty())
        progress.WriteRestoreLog("No files found in directory: " +
                                 KeepsetSearch(root, plan.subDirectory, plan.pattern));
    return result;
}
