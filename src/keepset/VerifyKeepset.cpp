#include "keepset/VerifyKeepset.h"

#include "config/ConfigFile.h"
#include "config/LowerCase.h"
#include "keepset/RunEvents.h"
#include "save/DatePatterns.h"
#include "keepset/HashesInOrder.h"
#include "keepset/KeepsetRecordFormat.h"
#include "keepset/KeepsetSlot.h"
#include "keepset/ManifestFormat.h"
#include "save/Reports.h"
#include "ui/MainDialogRules.h"
#include "win/FileHash.h"
#include "win/Files.h"
#include "win/Profile.h"
#include "win/TextLines.h"
#include "win/WideNames.h"

#include <unordered_map>

namespace {

constexpr std::size_t kPathLength = 127;
constexpr std::size_t kDateLength = 39;
constexpr unsigned long kAttributeReparsePoint = 0x400;

std::string Join(const std::string& directory, const std::string& name)
{
    if (!directory.empty() && directory.back() == '\\')
        return directory + name;
    return directory + "\\" + name;
}

bool IsDirectory(const std::string& path)
{
    const unsigned long attributes = win::FileAttributes(path);
    return attributes != win::kInvalidAttributes && (attributes & win::kAttributeDirectory) != 0;
}

// The State of the list entry that names the directory; empty when none
// does. A save marks its entry "running" before its first copy and writes
// the record file only at its end, so a save that died shows here alone.
std::string ListEntryState(const std::string& directory)
{
    for (int slot = 1; slot <= kKeepsetSlots; ++slot) {
        const std::string section = KeepsetSectionName(slot);
        const std::string path = win::ReadProfileString(kConfigFile, section, kKeyPath, "", kPathLength);
        if (!path.empty() && LowerCase(path) == LowerCase(directory))
            return win::ReadProfileString(kConfigFile, section, kKeyState, "", kDateLength);
    }
    return std::string();
}

// What the manifest and the size list say of one file.
struct ListedFile {
    std::uint64_t size = 0;
    bool sizeKnown = false;
    bool inManifest = false;
};

class KeepsetCheck {
public:
    KeepsetCheck(const std::string& directory, RunLog& log) : directory_(directory), log_(log) {}

    int Run(VerifyCounts& counts);

private:
    int NothingToVerify(const std::string& why);
    void ReadSizes();
    // False when the manifest cannot be opened at all.
    bool CheckListedFiles(bool& notThere);
    void CheckLine(const std::string& line, std::uint64_t lineNumber);
    void ConcludeFile(const std::string& file, const std::string& digest, const ListedFile& listed,
                      const FileHashResult& result);
    void Walk(const std::string& folder, const std::string& relative);

    std::string directory_;
    RunLog& log_;
    VerifyCounts counts_;
    // Lower-cased relative path -> what is listed of it: the one thing
    // held per file, so that the walk can tell what is not listed.
    std::unordered_map<std::string, ListedFile> listed_;
    HashesInOrder hashes_;
};

int KeepsetCheck::Run(VerifyCounts& counts)
{
    log_.WriteLine(VerifyStartLine(directory_));
    if (!IsDirectory(directory_))
        return NothingToVerify("the directory is missing or cannot be read");
    const std::string record = RecordFilePath(directory_);
    const bool recordThere = win::EntryExists(record);
    const std::string state = recordThere ? win::ReadProfileString(record, kRecordSection, kKeyState, "", kDateLength)
                                          : ListEntryState(directory_);
    // A save that did not end, or ended with errors, is a failure whatever
    // is left of its files; otherwise a keepset without its record or its
    // manifest cannot be proved either way.
    const bool saveFailed = state == kStateRunning || state == kStateErrors;
    if (!recordThere && !saveFailed)
        return NothingToVerify("it has no keepset record " + std::string(kRecordFileName));
    ReadSizes();
    bool manifestNotThere = false;
    const bool manifestRead = CheckListedFiles(manifestNotThere);
    if (!manifestRead && !saveFailed)
        return NothingToVerify(manifestNotThere ? "it has no manifest " + std::string(kManifestFileName)
                                                : "its manifest cannot be read");
    if (manifestRead)
        Walk(directory_, "");
    log_.WriteLine(VerifySummaryLine(directory_, counts_));
    if (state != kStateComplete)
        log_.WriteLine(VerifyStateLine(directory_, state.empty() ? "unknown" : state));
    counts = counts_;
    return KeepsetVerifyStatus(counts_, state);
}

int KeepsetCheck::NothingToVerify(const std::string& why)
{
    log_.WriteLine("Nothing to verify in " + directory_ + ": " + why);
    return kVerifyNothing;
}

// A keepset without a size list is checked by its hashes alone.
void KeepsetCheck::ReadSizes()
{
    win::ReadFileLines(Join(directory_, kSizeListFileName), [this](const std::string& line) {
        std::uint64_t size = 0;
        std::string path;
        if (ParseSizeLine(line, size, path)) {
            ListedFile& file = listed_[LowerCase(win::FromUtf8(path))];
            file.size = size;
            file.sizeKnown = true;
        }
        return true;
    });
}

bool KeepsetCheck::CheckListedFiles(bool& notThere)
{
    std::uint64_t lineNumber = 0;
    bool anyLine = false;
    const std::string manifest = Join(directory_, kManifestFileName);
    const bool read = win::ReadFileLines(manifest, [&](const std::string& line) {
        anyLine = true;
        CheckLine(line, ++lineNumber);
        return true;
    });
    notThere = !read && win::LastErrorIsNotFound();
    hashes_.Finish();
    if (read)
        return true;
    if (!anyLine)
        return false;
    // Cut short: what it still lists cannot be checked.
    ++counts_.malformed;
    log_.WriteLine(VerifyUnreadableLine(manifest));
    return true;
}

void KeepsetCheck::CheckLine(const std::string& line, std::uint64_t lineNumber)
{
    if (line.empty() || line == "\r")
        return;
    std::string digest;
    std::string utf8Path;
    const std::string path = ParseChecksumLine(line, digest, utf8Path) ? win::FromUtf8(utf8Path) : std::string();
    // A path that leaves the keepset is not followed.
    if (!IsPlainKeepsetPath(path)) {
        ++counts_.malformed;
        log_.WriteLine(VerifyMalformedLine(Join(directory_, kManifestFileName), lineNumber));
        return;
    }
    ++counts_.listed;
    ListedFile& listed = listed_[LowerCase(path)];
    listed.inManifest = true;
    const std::string file = Join(directory_, path);
    // A file the size list gives as large is hashed beside the others; its
    // lines still come in the manifest's order.
    const bool large = listed.sizeKnown && listed.size >= HashesInOrder::kAheadBytes;
    const ListedFile expected = listed;
    hashes_.Add(file, large, [this, file, digest, expected](const FileHashResult& result) {
        ConcludeFile(file, digest, expected, result);
    });
}

void KeepsetCheck::ConcludeFile(const std::string& file, const std::string& digest, const ListedFile& listed,
                                const FileHashResult& result)
{
    if (!result.hashed) {
        if (result.notFound) {
            ++counts_.missing;
            log_.WriteLine(VerifyMissingLine(file));
        } else {
            ++counts_.unreadable;
            log_.WriteLine(VerifyUnreadableLine(file));
        }
        return;
    }
    if (result.sha256 != digest || (listed.sizeKnown && listed.size != result.size)) {
        ++counts_.changed;
        log_.WriteLine(VerifyChangedLine(file));
        return;
    }
    ++counts_.whole;
}

// Depth first, one search open per level. A junction or link is not
// followed: it is not part of what the save wrote.
void KeepsetCheck::Walk(const std::string& folder, const std::string& relative)
{
    win::DirectorySearch search(Join(folder, "*"));
    win::FoundEntry entry;
    while (search.Next(entry)) {
        if (entry.name == "." || entry.name == "..")
            continue;
        const std::string path = relative.empty() ? entry.name : relative + "\\" + entry.name;
        const bool directory = (entry.attributes & win::kAttributeDirectory) != 0;
        if (directory && (entry.attributes & kAttributeReparsePoint) == 0) {
            Walk(Join(folder, entry.name), path);
            continue;
        }
        if (relative.empty() && IsKeepsetRecordFile(path))
            continue;
        const auto found = listed_.find(LowerCase(path));
        if (found != listed_.end() && found->second.inManifest)
            continue;
        ++counts_.unlisted;
        log_.WriteLine(VerifyUnlistedLine(Join(folder, entry.name)));
    }
    if (search.Failed())
        log_.WriteLine("Could not read the whole folder " + folder + " (system error " +
                       std::to_string(search.Error()) + ")");
}

// The list entries whose directory exists, newest first.
std::vector<std::string> ListedKeepsetDirectories(RunLog& log)
{
    std::vector<ListedKeepset> entries;
    for (int slot = 1; slot <= kKeepsetSlots; ++slot) {
        const std::string section = KeepsetSectionName(slot);
        ListedKeepset entry;
        entry.path = win::ReadProfileString(kConfigFile, section, kKeyPath, "", kPathLength);
        if (entry.path.empty())
            continue;
        entry.date = win::ReadProfileString(kConfigFile, section, kKeyDate, "", kDateLength);
        entry.time = win::ReadProfileString(kConfigFile, section, kKeyTime, "", kDateLength);
        entries.push_back(entry);
    }
    std::vector<std::string> directories;
    for (const ListedKeepset& entry : NewestFirst(entries)) {
        if (IsDirectory(entry.path))
            directories.push_back(entry.path);
        else
            log.WriteLine("Listed keepset not there, not verified: " + entry.path);
    }
    return directories;
}

}  // namespace

int VerifyKeepset(const std::string& directory, RunLog& log, VerifyCounts& counts)
{
    KeepsetCheck check(directory, log);
    return check.Run(counts);
}

int RunVerify(const std::string& directoryArgument)
{
    RunLog log;
    if (log.Open(kRunLogPath))
        log.WriteBanner();
    std::vector<std::string> keepsets;
    std::string named = directoryArgument;
    if (!directoryArgument.empty()) {
        std::string directory = directoryArgument;
        if (ContainsDatePattern(directory))
            ExpandDatePatterns(directory);
        keepsets.push_back(directory);
        named = directory;
    } else {
        keepsets = ListedKeepsetDirectories(log);
        named = "the keepset list (" + std::to_string(keepsets.size()) + " keepsets)";
    }
    int status = kVerifyNothing;
    VerifyCounts total;
    for (std::size_t i = 0; i < keepsets.size(); ++i) {
        VerifyCounts counts;
        const int keepsetStatus = VerifyKeepset(keepsets[i], log, counts);
        status = i == 0 ? keepsetStatus : WorseVerifyStatus(status, keepsetStatus);
        total.Add(counts);
    }
    if (keepsets.empty())
        log.WriteLine("Nothing to verify: no keepset of the list exists");
    log.WriteLine(VerifyOutcomeLine(status, keepsets.size()));
    WriteRunEvent(VerifyRunEvent(named, status, total), [&log](const std::string& line) { log.WriteLine(line); });
    log.Close();
    return status;
}
