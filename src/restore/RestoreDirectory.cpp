#include "restore/RestoreDirectory.h"

#include "restore/RestorePaths.h"
#include "win/FileHash.h"
#include "win/Files.h"
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

// Where the temporary copies of one target directory are made: its
// directory qzrestore.tmp, made at the first copy and removed again at the
// end; beside each file where it cannot be made.
class TemporaryCopies {
public:
    TemporaryCopies(RestoreProgress& progress, const std::string& target)
        : progress_(progress), directory_(FileInDirectory(target, kTemporaryDirectoryName))
    {
    }
    ~TemporaryCopies()
    {
        if (made_ && !win::RemoveEmptyDirectory(directory_))
            progress_.WriteRestoreLog("FAILED to remove the temporary directory " + directory_ + " (" +
                                      ErrorText(win::LastError()) + ")");
    }
    TemporaryCopies(const TemporaryCopies&) = delete;
    TemporaryCopies& operator=(const TemporaryCopies&) = delete;

    std::string For(const std::string& destination, const std::string& name)
    {
        if (!tried_) {
            tried_ = true;
            made_ = win::CreateOneDirectory(directory_);
            if (!made_ && win::LastError() == kAlreadyExists) {
                // One left by a restore that did not end is used again.
                const unsigned long attributes = win::FileAttributes(directory_);
                made_ = attributes != win::kInvalidAttributes && (attributes & win::kAttributeDirectory) != 0;
            }
        }
        return made_ ? FileInDirectory(directory_, name) : TemporaryRestoreName(destination);
    }

private:
    static constexpr unsigned long kAlreadyExists = 183;
    RestoreProgress& progress_;
    std::string directory_;
    bool tried_ = false;
    bool made_ = false;
};

// Copy to the temporary name, check, replace in one step. sha256 empty:
// the keepset has no manifest to check against.
bool ReplaceFile(RestoreProgress& progress, const std::string& source, const std::string& destination,
                 const std::string& temporary, const std::string& sha256)
{
    std::string reason;
    if (!win::CopyFileReplacing(source, temporary)) {
        reason = "the copy failed, " + ErrorText(win::LastError());
    } else if (!sha256.empty()) {
        std::string digest;
        std::uint64_t size = 0;
        if (!win::FileSha256(temporary, digest, size))
            reason = "the copy cannot be read back, " + ErrorText(win::LastError());
        else if (digest != sha256)
            reason = "the copy does not match the keepset's manifest";
    }
    if (reason.empty() && !win::MoveReplacing(temporary, destination))
        reason = "the file cannot be replaced, " + ErrorText(win::LastError());
    if (!reason.empty()) {
        LogFailure(progress, source, destination, reason);
        RemoveTemporary(progress, temporary);
        return false;
    }
    progress.WriteRestoreLog(win::FormatText(IDS_FILE_RESTORED, source, destination));
    progress.MarkRestored();
    return true;
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
    int result = 0;
    for (const PlannedFile& file : plan.files) {
        const std::string source = FileInDirectory(sourceDirectory, file.name);
        const std::string destination = FileInDirectory(target, file.name);
        if (!IsRestoredName(plan, file.name)) {
            if (file.verdict != FileVerdict::Missing)
                progress.WriteRestoreLog("Not restored: " + source +
                                         " (a save puts only the configuration ini files into the win folder)");
            continue;
        }
        if (!keepWhenPresent.empty() && SameFileName(file.name, keepWhenPresent) && win::EntryExists(destination)) {
            progress.WriteRestoreLog("Kept the file in use: " + destination + " (not replaced by " + source + ")");
            continue;
        }
        if (LogUnrestorable(progress, file, source, destination)) {
            result = 1;
            continue;
        }
        if (!ReplaceFile(progress, source, destination, temporaries.For(destination, file.name),
                         file.verdict == FileVerdict::Verified ? file.sha256 : ""))
            result = 1;
    }

    if (!plan.expected.empty() && !Holds(plan, plan.expected) && !plan.expectedUnlessUnlisted) {
        LogFailure(progress, FileInDirectory(sourceDirectory, plan.expected), FileInDirectory(target, plan.expected),
                   "missing from the keepset");
        return 1;
    }
    if (!plan.anyEntry && plan.files.empty())
        progress.WriteRestoreLog("No files found in directory: " +
                                 KeepsetSearch(root, plan.subDirectory, plan.pattern));
    return result;
}
