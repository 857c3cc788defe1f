#include "keepset/Retention.h"

#include "config/ConfigFile.h"
#include "config/ProfileFileUpdate.h"
#include "keepset/RetentionRules.h"
#include "keepset/VerifyText.h"
#include "keepset/KeepsetRecordFormat.h"
#include "keepset/KeepsetSlot.h"
#include "keepset/ManifestFormat.h"
#include "win/Files.h"
#include "win/Profile.h"
#include "win/WideNames.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::size_t kRecordPathLength = 511;
constexpr std::size_t kRecordValueLength = 39;
constexpr std::size_t kKeepCompleteLength = 15;
constexpr unsigned long kAttributeReparsePoint = 0x400;
constexpr unsigned long kDirectoryNotEmpty = 145;

// Every key a list entry may hold, moved as one when the list closes up.
const char* const kEntryKeys[] = {kKeyPath,    kKeyDate,   kKeyTime,   kKeySaveMsg, kKeySaveAlrMsgOnly,
                                  kKeySaveDesktop, kKeySaveWeb, kKeySaveMySql, "SaveAdd1", "SaveAdd2",
                                  "SaveAdd3",  "SaveAdd4", kKeyState};

std::string Join(const std::string& directory, const std::string& name)
{
    if (!directory.empty() && (directory.back() == '\\' || directory.back() == '/'))
        return directory + name;
    return directory + "\\" + name;
}

std::vector<std::string> Components(const std::string& text)
{
    std::vector<std::string> parts;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find('\\', begin);
        if (end == std::string::npos)
            end = text.size();
        parts.push_back(text.substr(begin, end - begin));
        begin = end + 1;
    }
    return parts;
}

bool IsDirectoryEntry(const win::FoundEntry& entry)
{
    return (entry.attributes & win::kAttributeDirectory) != 0 && entry.name != "." && entry.name != "..";
}

struct Keepset {
    std::string directory;
    RetentionCandidate candidate;
};

class Retention {
public:
    explicit Retention(const RetentionReport& report) : report_(report) {}

    bool Apply(const std::string& typed, const std::string& saved)
    {
        bool malformed = false;
        const int keep = ParseKeepComplete(
            win::ReadProfileString(kConfigFile, kSectionRetention, kKeyKeepComplete, "", kKeepCompleteLength),
            malformed);
        if (malformed)
            report_(RetentionLine::LogOnly,
                    "[Retention] KeepComplete is not a number: no keepset is removed");
        if (keep < 1 || !HasDatePattern(typed))
            return true;

        std::vector<std::string> directories;
        FindPatternDirectories(typed, directories);
        std::vector<Keepset> keepsets;
        for (const std::string& directory : directories)
            AddKeepset(directory, saved, keepsets);

        std::vector<RetentionCandidate> candidates;
        for (const Keepset& keepset : keepsets)
            candidates.push_back(keepset.candidate);
        std::vector<std::string> removed;
        for (const std::size_t index : ChooseKeepsetsToRemove(candidates, keep)) {
            if (RemoveKeepset(keepsets[index].directory))
                removed.push_back(keepsets[index].directory);
        }
        if (!removed.empty())
            ClearListEntries(removed);
        return ok_;
    }

private:
    void Fail(const std::string& text)
    {
        report_(RetentionLine::Failed, text);
        ok_ = false;
    }

    // The existing directories the typed text could have named on any day.
    // A component with patterns is matched against the directories found;
    // a junction or link is never a candidate, as removing through it would
    // delete elsewhere.
    void FindPatternDirectories(const std::string& typed, std::vector<std::string>& found)
    {
        const std::vector<std::string> parts = Components(typed);
        std::size_t first = 0;
        while (first < parts.size() && !HasDatePattern(parts[first]))
            ++first;
        std::string fixed;
        for (std::size_t i = 0; i < first; ++i)
            fixed += (i == 0 ? "" : "\\") + parts[i];
        std::vector<std::string> level = {fixed};
        for (std::size_t i = first; i < parts.size(); ++i) {
            std::vector<std::string> next;
            for (const std::string& parent : level) {
                if (!HasDatePattern(parts[i])) {
                    if (!parts[i].empty())
                        next.push_back(Join(parent, parts[i]));
                    else
                        next.push_back(parent);
                    continue;
                }
                win::DirectorySearch search(Join(parent, "*"));
                win::FoundEntry entry;
                while (search.Next(entry)) {
                    if (IsDirectoryEntry(entry) && (entry.attributes & kAttributeReparsePoint) == 0 &&
                        MatchesDatePattern(parts[i], entry.name))
                        next.push_back(Join(parent, entry.name));
                }
                if (search.Failed())
                    report_(RetentionLine::LogOnly, "Retention cannot read the directory " + parent + " (error " +
                                                        std::to_string(search.Error()) +
                                                        "): the keepsets in it are left alone");
            }
            level.swap(next);
        }
        found = level;
    }

    // A candidate has a record whose Path names its own directory, and a
    // date and time to be ordered by.
    void AddKeepset(const std::string& directory, const std::string& saved, std::vector<Keepset>& keepsets)
    {
        const std::string record = RecordFilePath(directory);
        if (!win::EntryExists(record))
            return;
        const std::string path = win::ReadProfileString(record, kRecordSection, kKeyPath, "", kRecordPathLength);
        if (!SameDirectoryText(path, directory))
            return;
        Keepset keepset;
        keepset.directory = directory;
        keepset.candidate.justSaved = SameDirectoryText(directory, saved);
        keepset.candidate.complete =
            win::ReadProfileString(record, kRecordSection, kKeyState, "", kRecordValueLength) == kStateComplete;
        const std::string date = win::ReadProfileString(record, kRecordSection, kKeyDate, "", kRecordValueLength);
        const std::string time = win::ReadProfileString(record, kRecordSection, kKeyTime, "", kRecordValueLength);
        if (!RecordMoment(date, time, keepset.candidate.moment)) {
            if (!keepset.candidate.justSaved) {
                report_(RetentionLine::LogOnly, "Retention leaves " + directory +
                                                    " alone: its record gives no date and time to order it by");
                return;
            }
            keepset.candidate.moment = ~std::uint64_t(0);
        }
        keepsets.push_back(keepset);
    }

    // True when no folder between the keepset directory and the file is a
    // junction or link: a file is deleted only where the keepset holds it.
    bool PlainFoldersUpTo(const std::string& directory, const std::string& relative)
    {
        std::string folder = directory;
        const std::vector<std::string> parts = Components(relative);
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            folder = Join(folder, parts[i]);
            const unsigned long attributes = win::FileAttributes(folder);
            if (attributes != win::kInvalidAttributes && (attributes & kAttributeReparsePoint) != 0)
                return false;
        }
        return true;
    }

    // Deletes one file the keepset lists; a file already gone is no failure.
    bool DeleteListed(const std::string& file)
    {
        if (win::RemoveFile(file)) {
            report_(RetentionLine::LogOnly, "Deleted " + file);
            return true;
        }
        if (win::LastErrorIsNotFound())
            return true;
        // A copy of a read-only file is read-only too.
        const unsigned long attributes = win::FileAttributes(file);
        if (attributes != win::kInvalidAttributes && (attributes & win::kAttributeReadOnly) != 0 &&
            (attributes & win::kAttributeDirectory) == 0 && win::SetFileAttributesTo(file, win::kAttributeNormal) &&
            win::RemoveFile(file)) {
            report_(RetentionLine::LogOnly, "Deleted " + file);
            return true;
        }
        Fail("FAILED to delete " + file + " of an old keepset (error " + std::to_string(win::LastError()) + ")");
        return false;
    }

    bool ReadListing(const std::string& file, std::string& text)
    {
        text.clear();
        if (win::ReadWholeFile(file, text))
            return true;
        if (!win::EntryExists(file) && win::LastErrorIsNotFound())
            return true;
        Fail("FAILED to read " + file + " (error " + std::to_string(win::LastError()) +
             "): the old keepset is left as it is");
        return false;
    }

    bool RemoveKeepset(const std::string& directory)
    {
        report_(RetentionLine::LogOnly, "Retention removes the old keepset " + directory);
        const std::string manifestFile = Join(directory, kManifestFileName);
        const std::string sizeFile = Join(directory, kSizeListFileName);
        std::string checksums;
        std::string sizes;
        if (!ReadListing(manifestFile, checksums) || !ReadListing(sizeFile, sizes))
            return false;
        // The size list names the same files; a line it has alone counts too.
        const ParsedManifest listed = ParseManifest(checksums, sizes);
        std::vector<std::string> paths;
        for (const ManifestEntry& entry : listed.entries)
            paths.push_back(entry.path);
        AddSizeListPaths(sizes, paths);

        bool whole = true;
        for (const std::string& utf8 : paths) {
            const std::string relative = win::FromUtf8(utf8);
            if (!IsPlainKeepsetPath(utf8) || relative.empty() || !PlainFoldersUpTo(directory, relative)) {
                report_(RetentionLine::LogOnly, "Not deleted: the manifest of " + directory + " lists \"" + relative +
                                                    "\", which is not a plain file below it");
                continue;
            }
            whole = DeleteListed(Join(directory, relative)) && whole;
        }
        if (!whole)
            return false;
        // The record last: until it goes, a later run still finds the keepset.
        for (const char* name : {kSizeListFileName, kManifestFileName, kRecordFileName})
            if (!DeleteListed(Join(directory, name)))
                return false;
        RemoveEmptyFolders(directory);
        if (win::RemoveEmptyDirectory(directory))
            report_(RetentionLine::Done, "Removed the old keepset " + directory);
        else if (win::LastError() == kDirectoryNotEmpty)
            report_(RetentionLine::Done, "Removed the old keepset " + directory +
                                             "; the directory stays, it holds files the keepset does not list");
        else
            Fail("FAILED to remove the directory " + directory + " (error " + std::to_string(win::LastError()) +
                 ")");
        return ok_;
    }

    // Sizes lines ("<size>  <path>") whose path the manifest lacks.
    static void AddSizeListPaths(const std::string& sizes, std::vector<std::string>& paths)
    {
        std::size_t begin = 0;
        while (begin < sizes.size()) {
            std::size_t end = sizes.find('\n', begin);
            if (end == std::string::npos)
                end = sizes.size();
            std::uint64_t size = 0;
            std::string path;
            if (ParseSizeLine(sizes.substr(begin, end - begin), size, path)) {
                const bool known = std::any_of(paths.begin(), paths.end(),
                                               [&](const std::string& p) { return SameKeepsetPath(p, path); });
                if (!known)
                    paths.push_back(path);
            }
            begin = end + 1;
        }
    }

    // The folders below the directory, deepest first, each removed when it
    // is empty; a folder with files the keepset did not list stays, and so
    // do those files, each named once. Links are never entered.
    void RemoveEmptyFolders(const std::string& directory)
    {
        win::DirectorySearch search(Join(directory, "*"));
        win::FoundEntry entry;
        std::vector<std::string> folders;
        while (search.Next(entry)) {
            if (entry.name == "." || entry.name == "..")
                continue;
            const std::string path = Join(directory, entry.name);
            if ((entry.attributes & win::kAttributeDirectory) != 0 && (entry.attributes & kAttributeReparsePoint) == 0)
                folders.push_back(path);
            else
                report_(RetentionLine::LogOnly,
                        "Kept " + win::ShownText(path) + ": the old keepset does not list it");
        }
        for (const std::string& folder : folders) {
            RemoveEmptyFolders(folder);
            if (!win::RemoveEmptyDirectory(folder) && win::LastError() != kDirectoryNotEmpty)
                report_(RetentionLine::LogOnly, "Kept the folder " + win::ShownText(folder) + " (error " +
                                                    std::to_string(win::LastError()) + ")");
        }
    }

    // The list entries of the removed keepsets go, and the entries after
    // them move up, so the list still ends at its first free slot.
    void ClearListEntries(const std::vector<std::string>& removed)
    {
        std::vector<std::vector<std::string>> entries;
        for (int slot = 1; slot <= kKeepsetSlots; ++slot) {
            const std::string section = KeepsetSectionName(slot);
            std::vector<std::string> values;
            for (const char* key : kEntryKeys) {
                std::string value;
                if (!win::ReadProfileStringChecked(kConfigFile, section, key, "", kRecordPathLength, value)) {
                    Fail("FAILED to read the keepset list of " + ProfileFilePath(kConfigFile) +
                         ": the entries of the removed keepsets stay");
                    return;
                }
                values.push_back(value);
            }
            if (values[0].empty())
                break;
            const bool gone = std::any_of(removed.begin(), removed.end(),
                                          [&](const std::string& d) { return SameDirectoryText(d, values[0]); });
            if (!gone)
                entries.push_back(values);
        }
        ProfileFileUpdate update(kConfigFile);
        for (int slot = 1; slot <= kKeepsetSlots; ++slot) {
            const std::string section = KeepsetSectionName(slot);
            const std::size_t index = static_cast<std::size_t>(slot - 1);
            for (std::size_t k = 0; k < std::size(kEntryKeys); ++k)
                update.Write(section, kEntryKeys[k], index < entries.size() ? entries[index][k] : "");
        }
        if (update.Commit())
            report_(RetentionLine::LogOnly, "Cleared the list entries of " + std::to_string(removed.size()) +
                                                " removed keepsets");
        else
            Fail("FAILED to clear the list entries of the removed keepsets in " + update.Path());
    }

    const RetentionReport& report_;
    bool ok_ = true;
};

}  // namespace

bool ApplyRetention(const std::string& typedDirectory, const std::string& savedDirectory,
                    const RetentionReport& report)
{
    return Retention(report).Apply(typedDirectory, savedDirectory);
}
