#include "keepset/VerifyText.h"

#include "config/LowerCase.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

int Severity(int status)
{
    switch (status) {
    case kVerifyFailed:
        return 2;
    case kVerifyNothing:
        return 1;
    default:
        return 0;
    }
}

// "07.12.2026" and "09:05:00" as one number that grows with the time;
// false when either does not read.
bool SortKey(const ListedKeepset& entry, std::uint64_t& key)
{
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
    char tail = 0;
    if (std::sscanf(entry.date.c_str(), "%2d.%2d.%4d%c", &day, &month, &year, &tail) != 3)
        return false;
    if (!entry.time.empty() && std::sscanf(entry.time.c_str(), "%2d:%2d:%2d%c", &hour, &minute, &second, &tail) != 3)
        return false;
    key = ((((static_cast<std::uint64_t>(year) * 100 + month) * 100 + day) * 100 + hour) * 100 + minute) * 100 + second;
    return true;
}

}  // namespace

int WorseVerifyStatus(int a, int b)
{
    return Severity(a) >= Severity(b) ? a : b;
}

void VerifyCounts::Add(const VerifyCounts& other)
{
    listed += other.listed;
    whole += other.whole;
    missing += other.missing;
    changed += other.changed;
    unreadable += other.unreadable;
    malformed += other.malformed;
    unlisted += other.unlisted;
}

int KeepsetVerifyStatus(const VerifyCounts& counts, const std::string& state)
{
    return counts.AnyFailure() || state != "complete" ? kVerifyFailed : kVerifyWhole;
}

bool IsPlainKeepsetPath(const std::string& path)
{
    if (path.empty() || path.find_first_of("/:") != std::string::npos)
        return false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        const std::string part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == ".." || part.back() == '.' || part.back() == ' ')
            return false;
        for (const char c : part)
            if (c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|' ||
                static_cast<unsigned char>(c) < 0x20)
                return false;
        if (end == path.size())
            return true;
        start = end + 1;
    }
}

bool IsKeepsetRecordFile(const std::string& relativePath)
{
    const std::string name = LowerCase(relativePath);
    return name == "qzkeepset.inf" || name == "qzkeepset.sha256" || name == "qzkeepset.size";
}

std::vector<ListedKeepset> NewestFirst(const std::vector<ListedKeepset>& entries)
{
    struct Keyed {
        ListedKeepset entry;
        bool dated;
        std::uint64_t key;
    };
    std::vector<Keyed> keyed;
    std::set<std::string> seen;
    for (const ListedKeepset& entry : entries) {
        if (entry.path.empty() || !seen.insert(LowerCase(entry.path)).second)
            continue;
        std::uint64_t key = 0;
        const bool dated = SortKey(entry, key);
        keyed.push_back({entry, dated, key});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.dated != b.dated)
            return a.dated;
        return a.dated && a.key > b.key;
    });
    std::vector<ListedKeepset> ordered;
    for (const Keyed& k : keyed)
        ordered.push_back(k.entry);
    return ordered;
}

std::string VerifyStartLine(const std::string& keepset)
{
    return "Verify keepset " + keepset;
}

std::string VerifyMissingLine(const std::string& file)
{
    return "FAILED, missing: " + file;
}

std::string VerifyChangedLine(const std::string& file)
{
    return "FAILED, changed: " + file;
}

std::string VerifyUnreadableLine(const std::string& file)
{
    return "FAILED, cannot be read: " + file;
}

std::string VerifyMalformedLine(const std::string& manifest, std::uint64_t lineNumber)
{
    return "FAILED, line " + std::to_string(lineNumber) + " not understood: " + manifest;
}

std::string VerifyUnlistedLine(const std::string& file)
{
    return "Not in the manifest: " + file;
}

std::string VerifyStateLine(const std::string& keepset, const std::string& state)
{
    return "FAILED, the save of " + keepset + " did not end complete (State=" + state + ")";
}

std::string VerifySummaryLine(const std::string& keepset, const VerifyCounts& counts)
{
    return "Keepset " + keepset + ": " + std::to_string(counts.listed) + " listed, " + std::to_string(counts.whole) +
           " whole, " + std::to_string(counts.missing) + " missing, " + std::to_string(counts.changed) +
           " changed, " + std::to_string(counts.unreadable) + " unreadable, " + std::to_string(counts.malformed) +
           " lines not understood, " + std::to_string(counts.unlisted) + " not listed";
}

std::string VerifyOutcomeLine(int status, std::size_t keepsets)
{
    const std::string checked = std::to_string(keepsets) + (keepsets == 1 ? " keepset" : " keepsets");
    switch (status) {
    case kVerifyWhole:
        return "Verify ended with status 0: " + checked + " whole";
    case kVerifyFailed:
        return "Verify ended with status 1: ERRORS, " + checked + " checked";
    default:
        return "Verify ended with status " + std::to_string(status) + ": nothing to verify";
    }
}
