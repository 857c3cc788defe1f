#include "save/CopyPrimitives.h"

#include "config/SaveSettings.h"
#include "save/CopyPaths.h"
#include "save/EnsureDirectory.h"
#include "save/Reports.h"
#include "save/SavedFiles.h"
#include "win/Files.h"
#include "win/Texts.h"
#include "win/WideNames.h"
#include "resource.h"

#include <deque>
#include <memory>

namespace {

constexpr unsigned long kPlainDirectory = 16;
constexpr unsigned long kReadOnlyDirectory = 17;
constexpr unsigned long kArchiveDirectory = 48;

bool SkippedByPatternCopy(const win::FoundEntry& entry)
{
    return entry.attributes == kPlainDirectory || entry.attributes == kReadOnlyDirectory ||
           entry.attributes == kArchiveDirectory || entry.name[0] == '.';
}

// The search pattern "*." is meant to find names without a dot only, which
// not every system keeps to, so the name is checked as well.
bool DescendedInto(const win::FoundEntry& entry)
{
    return (entry.attributes == kPlainDirectory || entry.attributes == kArchiveDirectory) &&
           entry.name.find('.') == std::string::npos;
}

// Counted as the system counts the path: a wrapped name by its characters,
// not by its bytes.
bool FitsIn(const std::string& path, std::size_t length)
{
    return win::ShownText(path).size() <= length;
}

// True when the target was read-only and is writable now.
bool MadeTargetWritable(const std::string& target)
{
    const unsigned long attributes = win::FileAttributes(target);
    return attributes != win::kInvalidAttributes && (attributes & win::kAttributeReadOnly) != 0 &&
           win::SetFileAttributesTo(target, win::kAttributeNormal);
}

// A read-only copy from an earlier save must not block this one. The copy is
// tried first and the target's attributes looked at only when it fails: a
// save into a new directory then costs no extra look-up of a name that does
// not exist yet, which is what a copy of many small files spends its time on.
bool CopyOverReadOnlyTarget(const std::string& source, const std::string& target)
{
    if (win::CopyFileReplacing(source, target))
        return true;
    return MadeTargetWritable(target) && win::CopyFileReplacing(source, target);
}

// A search that could not read its directory leaves out files nobody would
// hear of: it is reported like a file that could not be copied. True when
// the search failed.
bool ReportedSearchFailure(const win::DirectorySearch& search, const std::string& directory)
{
    if (!search.Failed())
        return false;
    ReportStep(win::FormatText(IDS_DIRECTORY_READ_FAILED, directory, std::to_string(search.Error())), true);
    return true;
}

// How a copy loop words a failed copy: CopyFilesByPattern adds the entry's
// attribute value to the log line, CopyAdditionalDirectory does not.
enum class FailureLine { WithAttribute, Plain };

// The files of a copy loop whose copies are being read back, in the order
// they were copied. A file's line is reported once its read-back has ended,
// so the lines come in the order of the copies, each green or red by the
// read-back as well, while the loop is already copying the next files.
class CopiesInFlight {
public:
    explicit CopiesInFlight(FailureLine failureLine) : failureLine_(failureLine) {}
    CopiesInFlight(const CopiesInFlight&) = delete;
    CopiesInFlight& operator=(const CopiesInFlight&) = delete;

    // One file of the loop; copied tells whether the copy itself went
    // through. Reports the files before it whose read-back has ended.
    void Add(const std::string& source, const std::string& target, unsigned long attributes, bool copied)
    {
        Copy copy{source, target, attributes, copied, nullptr};
        if (copied)
            copy.readBack = StartKeepingSavedFile(target);
        waiting_.push_back(std::move(copy));
        while (!waiting_.empty() &&
               (waiting_.size() > kMostInFlight || KeepingSavedFileFinished(waiting_.front().readBack)))
            ReportFirst();
    }

    // Reports every file still waiting; true when a copy or its read-back
    // failed in the whole loop.
    bool Finish()
    {
        while (!waiting_.empty())
            ReportFirst();
        return failed_;
    }

private:
    // Enough to keep the reading thread busy, few enough that the list of
    // the main window never lags visibly behind the copies.
    static constexpr std::size_t kMostInFlight = 16;

    struct Copy {
        std::string source;
        std::string target;
        unsigned long attributes;
        bool copied;
        std::shared_ptr<ReadBack> readBack;
    };

    void ReportFirst()
    {
        const Copy copy = std::move(waiting_.front());
        waiting_.pop_front();
        if (copy.copied && FinishKeepingSavedFile(copy.readBack)) {
            ReportStep(win::FormatText(IDS_FILE_SAVED, copy.source, copy.target), false);
            return;
        }
        ForgetSavedFile(copy.target);
        failed_ = true;
        const std::string text = win::FormatText(IDS_FILE_SAVE_FAILED, copy.source, copy.target);
        if (failureLine_ == FailureLine::Plain) {
            ReportStep(text, true);
            return;
        }
        // The attribute value goes to the log only: it tells a hidden
        // directory from a file that could not be copied.
        SendReportMessage(text, true);
        WriteLogLine(text + " File attribute: " + std::to_string(copy.attributes));
    }

    FailureLine failureLine_;
    std::deque<Copy> waiting_;
    bool failed_ = false;
};

}  // namespace

int CopyFilesByPattern(const std::string& pattern, const std::string& sourceDirectory,
                       const std::string& targetDirectory)
{
    CopiesInFlight copies(FailureLine::WithAttribute);
    win::DirectorySearch search(pattern);
    win::FoundEntry entry;
    while (search.Next(entry)) {
        if (SkippedByPatternCopy(entry))
            continue;
        const std::string source = JoinPath(sourceDirectory, entry.name);
        const std::string target = JoinPath(targetDirectory, entry.name);
        const bool copied = FitsIn(source, kCopiedFilePathLength) && FitsIn(target, kCopiedFilePathLength) &&
                            CopyOverReadOnlyTarget(source, target);
        copies.Add(source, target, entry.attributes, copied);
    }
    int result = copies.Finish() ? 1 : 0;
    if (ReportedSearchFailure(search, sourceDirectory))
        result = 1;
    return result;
}

int CopyDirectoryTree(const std::string& sourceParent, const std::string& name, const std::string& targetParent)
{
    const std::string target = JoinPathDotted(targetParent, name);
    const std::string source = JoinPathDotted(sourceParent, name);
    const std::string filePattern = JoinPathDotted(source, "*.*");
    const std::string directoryPattern = JoinPathDotted(source, "*.");
    if (!FitsIn(target, kTreeTargetLength) || !FitsIn(filePattern, kTreeSourceLength)) {
        // Too deep to be saved under its own name: the whole subtree is
        // reported as failed rather than copied to a shortened path.
        ReportStep(win::FormatText(IDS_FILE_SAVE_FAILED, source, target), true);
        return 1;
    }
    int result = EnsureDirectory(target) ? 0 : 1;
    if (CopyFilesByPattern(filePattern, source, target) == 1)
        result = 1;

    win::DirectorySearch search(directoryPattern);
    win::FoundEntry entry;
    while (search.Next(entry)) {
        if (DescendedInto(entry) && CopyDirectoryTree(source, entry.name, target) == 1)
            result = 1;
    }
    if (ReportedSearchFailure(search, source))
        result = 1;
    return result;
}

int CopyAdditionalDirectory(const std::string& path)
{
    const std::string saveDir = SaveSetting(&SaveSettingsRecord::SaveDir);
    const AdditionalDirectoryPaths paths = WorkOutAdditionalDirectory(path, saveDir);
    if (!FitsIn(path, kAdditionalPathLength) || !FitsIn(paths.mirror, kMirrorLength)) {
        ReportStep(win::FormatText(IDS_FILE_SAVE_FAILED, path, paths.mirror), true);
        return 0;
    }
    // The mirror is created even when nothing is copied into it.
    int result = 1;
    for (const std::string& level : MirrorLevels(paths.mirror, saveDir.size())) {
        if (!EnsureDirectory(level))
            result = 0;
    }

    CopiesInFlight copies(FailureLine::Plain);
    win::DirectorySearch search(paths.pattern);
    win::FoundEntry entry;
    while (search.Next(entry)) {
        if (entry.attributes == kPlainDirectory)
            continue;
        const std::string source = JoinPathDotted(paths.sourceDirectory, entry.name);
        const std::string target = JoinPathDotted(paths.mirror, entry.name);
        const bool copied = FitsIn(source, kCopiedFilePathLength) && FitsIn(target, kCopiedFilePathLength) &&
                            win::CopyFileReplacing(source, target);
        copies.Add(source, target, entry.attributes, copied);
    }
    if (copies.Finish())
        result = 0;
    if (ReportedSearchFailure(search, paths.sourceDirectory))
        result = 0;
    return result;
}
