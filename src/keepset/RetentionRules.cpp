#include "keepset/RetentionRules.h"

#include <algorithm>
#include <cctype>

namespace {

bool PairAt(const std::string& text, std::size_t i, const char* pair)
{
    return i + 1 < text.size() && text[i] == pair[0] && text[i + 1] == pair[1];
}

bool Digits(const std::string& text, std::size_t at, std::size_t count)
{
    if (at + count > text.size())
        return false;
    for (std::size_t i = at; i < at + count; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Parses "nn" of a fixed width at `at`; -1 when they are not digits.
int Number(const std::string& text, std::size_t at, std::size_t width)
{
    if (!Digits(text, at, width))
        return -1;
    int value = 0;
    for (std::size_t i = at; i < at + width; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

}  // namespace

bool HasDatePattern(const std::string& text)
{
    for (const char* pair : {"DD", "MM", "YY", "WD", "WW"})
        if (text.find(pair) != std::string::npos)
            return true;
    return false;
}

bool MatchesDatePattern(const std::string& pattern, const std::string& name)
{
    // The same walk as the expansion: it never looks back.
    std::size_t i = 0;
    std::size_t at = 0;
    while (i < pattern.size()) {
        std::size_t width = 0;
        std::size_t taken = 2;
        if (PairAt(pattern, i, "YY")) {
            width = PairAt(pattern, i + 2, "YY") ? 4 : 2;
            taken = width;
        } else if (PairAt(pattern, i, "DD") || PairAt(pattern, i, "MM") || PairAt(pattern, i, "WD") ||
                   PairAt(pattern, i, "WW")) {
            width = 2;
        }
        if (width > 0) {
            if (!Digits(name, at, width))
                return false;
            at += width;
            i += taken;
            continue;
        }
        if (at >= name.size() || Upper(name[at]) != Upper(pattern[i]))
            return false;
        ++at;
        ++i;
    }
    return at == name.size();
}

int ParseKeepComplete(const std::string& text, bool& malformed)
{
    malformed = false;
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    if (begin == end)
        return 0;
    // More than four digits keeps every keepset a disk can hold anyway.
    if (end - begin > 4 || !Digits(text, begin, end - begin)) {
        malformed = true;
        return 0;
    }
    return Number(text, begin, end - begin);
}

bool RecordMoment(const std::string& date, const std::string& time, std::uint64_t& moment)
{
    if (date.size() != 10 || date[2] != '.' || date[5] != '.' || time.size() != 8 || time[2] != ':' ||
        time[5] != ':')
        return false;
    const int day = Number(date, 0, 2);
    const int month = Number(date, 3, 2);
    const int year = Number(date, 6, 4);
    const int hour = Number(time, 0, 2);
    const int minute = Number(time, 3, 2);
    const int second = Number(time, 6, 2);
    if (day < 1 || day > 31 || month < 1 || month > 12 || year < 0 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 60)
        return false;
    moment = ((((static_cast<std::uint64_t>(year) * 100 + month) * 100 + day) * 100 + hour) * 100 + minute) * 100 +
             second;
    return true;
}

std::vector<std::size_t> ChooseKeepsetsToRemove(const std::vector<RetentionCandidate>& candidates, int keep)
{
    std::vector<std::size_t> removed;
    const auto justSaved = std::find_if(candidates.begin(), candidates.end(),
                                        [](const RetentionCandidate& c) { return c.justSaved; });
    if (keep < 1 || justSaved == candidates.end() || !justSaved->complete)
        return removed;

    // The complete ones, the one just saved first, then newest first.
    std::vector<std::size_t> complete;
    for (std::size_t i = 0; i < candidates.size(); ++i)
        if (candidates[i].complete && !candidates[i].justSaved)
            complete.push_back(i);
    std::stable_sort(complete.begin(), complete.end(), [&](std::size_t a, std::size_t b) {
        return candidates[a].moment > candidates[b].moment;
    });
    complete.insert(complete.begin(), static_cast<std::size_t>(justSaved - candidates.begin()));
    if (complete.size() <= static_cast<std::size_t>(keep))
        return removed;

    // The oldest kept sets the line; the one just saved may be older than
    // another (a clock set back) and never draws the line below itself.
    std::uint64_t line = justSaved->moment;
    for (std::size_t k = 1; k < static_cast<std::size_t>(keep); ++k)
        line = std::min(line, candidates[complete[k]].moment);
    std::vector<bool> kept(candidates.size(), false);
    for (std::size_t k = 0; k < static_cast<std::size_t>(keep); ++k)
        kept[complete[k]] = true;
    for (std::size_t i = 0; i < candidates.size(); ++i)
        if (!kept[i] && candidates[i].moment < line)
            removed.push_back(i);
    return removed;
}

namespace {

// The lead ("\\" of a share, "\" of a rooted path) and the components of a
// directory text, in the form the system resolves; false for "..".
bool ResolvedDirectory(const std::string& text, std::string& resolved)
{
    resolved.clear();
    std::size_t i = 0;
    while (i < text.size() && (text[i] == '\\' || text[i] == '/') && i < 2) {
        resolved += '\\';
        ++i;
    }
    std::size_t begin = i;
    while (begin <= text.size()) {
        std::size_t end = text.find_first_of("\\/", begin);
        if (end == std::string::npos)
            end = text.size();
        std::string part = text.substr(begin, end - begin);
        while (!part.empty() && (part.back() == '.' || part.back() == ' ') && part != "." && part != "..")
            part.pop_back();
        if (part == "..")
            return false;
        if (!part.empty() && part != ".") {
            if (!resolved.empty() && resolved.back() != '\\')
                resolved += '\\';
            for (const char c : part)
                resolved += Upper(c);
        }
        begin = end + 1;
    }
    return !resolved.empty();
}

}  // namespace

bool SameDirectoryText(const std::string& a, const std::string& b)
{
    std::string left;
    std::string right;
    return ResolvedDirectory(a, left) && ResolvedDirectory(b, right) && left == right;
}
