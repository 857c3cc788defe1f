#include "restore/RestoreRules.h"

#include "config/LowerCase.h"

#include <cstddef>
#include <unordered_map>

namespace {

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool IsDatabaseCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' ||
           c == '-' || c == '@';
}

// "*" any run of characters, "?" one character; both already lower-cased.
bool Matches(const char* name, const char* pattern)
{
    const char* starPattern = nullptr;
    const char* starName = nullptr;
    while (*name != '\0') {
        if (*pattern == '*') {
            starPattern = ++pattern;
            starName = name;
        } else if (*pattern == '?' || *pattern == *name) {
            ++pattern;
            ++name;
        } else if (starPattern != nullptr) {
            pattern = starPattern;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return *pattern == '\0';
}

// "db1\vm001.dbf" gives "db1" and "vm001.dbf"; "a.txt" gives "" and "a.txt".
void SplitRelative(const std::string& path, std::string& directory, std::string& name)
{
    const std::size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos) {
        directory.clear();
        name = path;
    } else {
        directory = path.substr(0, slash);
        name = path.substr(slash + 1);
    }
}

}  // namespace

bool IsSavedWindowsIni(const std::string& name)
{
    const std::string lower = LowerCase(name);
    if (lower == "vmqzt.ini" || lower == "pmqzt.ini" || lower == "setupal.ini")
        return true;
    return lower.size() >= 6 && lower.compare(0, 2, "qz") == 0 && EndsWith(lower, ".ini");
}

bool DumpFileDatabase(const std::string& fileName, std::string& database)
{
    database.clear();
    if (fileName.size() <= 4 || LowerCase(fileName.substr(fileName.size() - 4)) != ".sql")
        return false;
    const std::string part = fileName.substr(0, fileName.size() - 4);
    if (part[0] == '-')
        return false;
    for (char c : part)
        if (!IsDatabaseCharacter(c))
            return false;
    database = part;
    return true;
}

bool MatchesFilePattern(const std::string& name, const std::string& pattern)
{
    const std::string lowerName = LowerCase(name);
    const std::string lowerPattern = LowerCase(pattern.empty() ? std::string("*") : pattern);
    if (Matches(lowerName.c_str(), lowerPattern.c_str()))
        return true;
    // As the system's search does, a final ".*" also takes names without
    // a dot: "*.*" is every name.
    if (EndsWith(lowerPattern, ".*"))
        return Matches(lowerName.c_str(), lowerPattern.substr(0, lowerPattern.size() - 2).c_str());
    return false;
}

std::vector<PlannedFile> PlanKeepsetDirectory(const std::vector<ListedFile>& listed, const ParsedManifest* manifest,
                                              const std::string& relativeDirectory, const std::string& pattern)
{
    std::vector<PlannedFile> plan;
    // The manifest's files of this directory by lower-case name, in
    // manifest order; a file saved twice (it matched two patterns) is
    // listed twice and counts once.
    std::vector<const ManifestEntry*> entries;
    std::vector<std::string> names;
    std::unordered_map<std::string, std::size_t> byName;
    if (manifest != nullptr) {
        for (const ManifestEntry& entry : manifest->entries) {
            std::string directory;
            std::string name;
            SplitRelative(entry.path, directory, name);
            if (!SameKeepsetPath(directory, relativeDirectory) || !MatchesFilePattern(name, pattern))
                continue;
            if (byName.emplace(LowerCase(name), entries.size()).second) {
                entries.push_back(&entry);
                names.push_back(name);
            }
        }
    }
    std::vector<bool> seen(entries.size(), false);
    for (const ListedFile& file : listed) {
        PlannedFile planned;
        planned.name = file.name;
        if (manifest == nullptr) {
            planned.verdict = FileVerdict::Unverified;
        } else {
            const auto found = byName.find(LowerCase(file.name));
            if (found == byName.end() || seen[found->second]) {
                planned.verdict = FileVerdict::Unlisted;
            } else {
                const ManifestEntry& entry = *entries[found->second];
                seen[found->second] = true;
                planned.sha256 = entry.sha256;
                planned.verdict =
                    entry.sizeKnown && entry.size != file.size ? FileVerdict::Changed : FileVerdict::Verified;
            }
        }
        plan.push_back(planned);
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (seen[i])
            continue;
        PlannedFile planned;
        planned.name = names[i];
        planned.verdict = FileVerdict::Missing;
        plan.push_back(planned);
    }
    return plan;
}
