#include "save/CopyPrimitives.h"

#include "config/SaveSettings.h"
#include "save/CopyPaths.h"
#include "save/EnsureDirectory.h"
#include "save/Reports.h"
#include "save/SavedFiles.h"
#include "win/Files.h"
#include "win/HashingCopy.h"
#include "win/Texts.h"
#include "win/WideNames.h"
#include "resource.h"

#include <cstdint>
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

// One copy of a copy loop, and the hash of what it wrote.
struct Copy {
    bool copied = false;
    bool hashed = false;
    std::string sha256;
    std::uint64_t size = 0;
};

// In a save run the copy hashes what it writes, for the manifest; outside
// one it is the system's copy.
bool CopyReplacing(const std::string& source, const std::string& target, Copy& copy)
{
    if (!CollectingSavedFiles())
        return copy.copied = win::CopyFileReplacing(source, target);
    copy.copied = copy.hashed = win::CopyFileHashing(source, target, copy.sha256, copy.size);
    return copy.copied;
}

// A read-only copy from an earlier save must not block this one. The copy is
// tried first and the target's attributes looked at only when it fails: a
// save into a new directory then costs no extra look-up of a name that does
// not exist yet, which is what a copy of many small files spends its time on.
bool CopyOverReadOnlyTarget(const std::string& source, const std::string& target, Copy& copy)
{
    if (CopyReplacing(source, target, copy))
        return true;
    return MadeTargetWritable(target) && CopyReplacing(source, target, copy);
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

// Reports one file of a copy loop: green when it was copied and hashed
// (kept), red otherwise.
void ReportCopy(const std::string& source, const std::string& target, unsigned long attributes,
                FailureLine failureLine, bool kept)
{
    if (kept) {
        ReportStep(win::FormatText(IDS_FILE_SAVED, source, target), false);
        return;
    }
    const std::string text = win::FormatText(IDS_FILE_SAVE_FAILED, source, target);
    if (failureLine == FailureLine::Plain) {
        ReportStep(text, true);
        return;
    }
    // The attribute value goes to the log only: it tells a hidden
    // directory from a file that could not be copied.
    SendReportMessage(text, true);
    WriteLogLine(text + " File attribute: " + std::to_string(attributes));
}

// The files of a copy loop whose copies are being reported by the save
// run's reporting thread, in the order they were copied, while the loop
// copies on, so the lines keep the order of the copies, each green or red
// by its copy and its hash. Outside a save run each file is reported at
// once.
class CopiesInFlight {
public:
    explicit CopiesInFlight(FailureLine failureLine) : failureLine_(failureLine) {}
    CopiesInFlight(const CopiesInFlight&) = delete;
    CopiesInFlight& operator=(const CopiesInFlight&) = delete;

    // One file of the loop and its copy.
    void Add(const std::string& source, const std::string& target, unsigned long attributes, const Copy& copy)
    {
        const bool copied = copy.copied;
        auto readBack = std::make_shared<ReadBack>();
        readBack->file = target;
        readBack->copied = copied;
        readBack->hashed = copy.hashed;
        readBack->sha256 = copy.sha256;
        readBack->size = copy.size;
        const FailureLine failureLine = failureLine_;
        readBack->report = [source, target, attributes, failureLine](const ReadBack& done) {
            ReportCopy(source, target, attributes, failureLine, done.kept);
        };
        if (!HandOverSavedFile(readBack)) {
            // Not in a save run: nothing is hashed.
            if (!copied)
                failed_ = true;
            ReportCopy(source, target, attributes, failureLine_, copied);
            return;
        }
        waiting_.push_back(std::move(readBack));
        while (!waiting_.empty() &&
               (waiting_.size() > kMostInFlight || HandedOverSavedFileDone(*waiting_.front())))
            CollectFirst();
    }

    // Waits for every file still in flight; true when a copy or its
    // hash failed in the whole loop.
    bool Finish()
    {
        while (!waiting_.empty())
            CollectFirst();
        return failed_;
    }

private:
    // Enough to keep the reading thread busy, few enough that the list of
    // the main window never lags visibly behind the copies.
    static constexpr std::size_t kMostInFlight = 16;

    void CollectFirst()
    {
        const std::shared_ptr<ReadBack> readBack = std::move(waiting_.front());
        waiting_.pop_front();
        FinishHandedOverSavedFile(*readBack);
        if (!readBack->kept)
            failed_ = true;
        ObserveReport();
    }

    FailureLine failureLine_;
    std::deque<std::shared_ptr<ReadBack>> waiting_;
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
        Copy copy;
        if (FitsIn(source, kCopiedFilePathLength) && FitsIn(target, kCopiedFilePathLength))
            CopyOverReadOnlyTarget(source, target, copy);
        copies.Add(source, target, entry.attributes, copy);
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
        Copy copy;
        if (FitsIn(source, kCopiedFilePathLength) && FitsIn(target, kCopiedFilePathLength))
            CopyReplacing(source, target, copy);
        copies.Add(source, target, entry.attributes, copy);
    }
    if (copies.Finish())
        result = 0;
    if (ReportedSearchFailure(search, paths.sourceDirectory))
        result = 0;
    return result;
}
