// libFuzzer target over the program's pure text logic. An input is a
// selector character and then text fields separated by line breaks; the
// selector ('a', 'b', ...) names the logic the fields go to. Besides
// crashes and the sanitizers' findings it checks properties that must hold
// for every input: command lines split back into exactly the arguments
// meant, option files read back the password, lists and manifests survive
// a round trip, choices stay in range, and both SHA-256 engines give the
// same digest however a message is cut.
#include "WindowsArgumentSplit.h"

#include "config/CommaList.h"
#include "config/SplitPath.h"
#include "keepset/RetentionRules.h"
#include "keepset/VerifyText.h"
#include "restore/RestoreCommandLines.h"
#include "restore/RestorePaths.h"
#include "restore/RestoreRules.h"
#include "save/ClientOptionText.h"
#include "save/CommandLineArgument.h"
#include "save/CopyPaths.h"
#include "save/DatePatterns.h"
#include "save/DumpCommandLine.h"
#include "keepset/KeepsetSlot.h"
#include "keepset/ManifestFormat.h"
#include "win/Placeholders.h"
#include "win/Sha256.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

std::vector<std::string> Fields(const std::string& text)
{
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    for (;;) {
        const std::string::size_type end = text.find('\n', start);
        fields.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    fields.resize(std::max<std::size_t>(fields.size(), 8));
    return fields;
}

bool HasNul(const std::string& text)
{
    return text.find('\0') != std::string::npos;
}

void DatePatterns(const std::vector<std::string>& f)
{
    LocalDateTime today;
    const unsigned char* d = reinterpret_cast<const unsigned char*>(f[1].c_str());
    today.year = 1900 + (f[1].size() > 0 ? d[0] : 126) * 2 % 300;
    today.month = 1 + (f[1].size() > 1 ? d[1] : 11) % 12;
    today.day = 1 + (f[1].size() > 2 ? d[2] : 6) % 28;
    std::string text = f[0];
    ExpandDatePatterns(text, today);
    const int week = CurrentWeekNumber(today);
    Require(week >= 0 && week <= 53, "week number in range");
    if (f[0].find_first_of("DMYW") == std::string::npos)
        Require(text == f[0], "text without patterns unchanged");
}

void CommaLists(const std::vector<std::string>& f)
{
    const std::vector<std::string> names = SplitCommaList(f[0]);
    for (const std::string& name : names) {
        Require(!name.empty() && name.find(',') == std::string::npos, "names non-empty, without commas");
        Require(CommaListMentions(f[0], name), "every name is mentioned");
    }
    Require(SplitCommaList(JoinCommaList(names)) == names, "join then split gives the names");
}

void Paths(const std::vector<std::string>& f)
{
    Require(JoinPath(f[0], f[1]) == f[0] + "\\" + f[1], "plain join");
    Require(JoinPathDotted(f[0], f[1]) == f[0] + ".\\" + f[1], "dotted join");
    const AdditionalDirectoryPaths paths = WorkOutAdditionalDirectory(f[0], f[1]);
    Require(paths.mirror.compare(0, f[1].size(), f[1]) == 0, "the mirror lies below the save directory");
    for (const std::string& level : MirrorLevels(paths.mirror, f[1].size()))
        Require(paths.mirror.compare(0, level.size(), level) == 0, "each level a beginning of the mirror");
    PathWithoutRoot(f[0]);
    const PathParts parts = SplitPath(f[0]);
    Require(parts.drive.size() + parts.directory.size() + parts.fileName.size() + parts.extension.size() <=
                f[0].size(),
            "path parts come from the path");
    AdditionalEntryOf(f[0]);
    KeepsetDirectory(f[0], f[1]);
    KeepsetSearch(f[0], f[1], f[2]);
    std::string database;
    if (DumpFileDatabase(f[0], database)) {
        Require(!database.empty() && database[0] != '-', "a database name is a word, not an option");
        Require(database.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_$-@") ==
                    std::string::npos,
                "a database name holds nothing that could end a statement");
    }
    IsSavedWindowsIni(f[0]);
    MatchesFilePattern(f[0], f[1]);
    SubstitutePlaceholders(f[0], f[1], f[2]);
}

// The dump's command line carries exactly the arguments meant, whatever
// the values hold.
void DumpCommandLines(const std::vector<std::string>& f)
{
    for (int i = 0; i < 5; ++i) {
        if (HasNul(f[i]))
            return;
    }
    const DumpCommandValues values{f[0], f[1], f[2], f[3], f[4]};
    const std::string line = BuildDumpCommandLine(values);
    if (f[0].find('"') != std::string::npos) {
        Require(line.empty(), "no line for a program path with a quote");
        return;
    }
    Require(!line.empty(), "a line for every other program path");
    std::vector<std::string> expected = {f[0] + ".\\mysqldump"};
    if (!f[2].empty())
        expected.push_back("--defaults-extra-file=" + f[2]);
    expected.insert(expected.end(), {"--opt", "-B"});
    if (!f[1].empty())
        expected.push_back("-u" + f[1]);
    expected.push_back("-r" + f[3] + ".\\" + f[4] + ".sql");
    if (!f[4].empty())
        expected.push_back(f[4]);
    // The model reads the program path up to a blank when it is unquoted;
    // a path beginning with a blank or tab is not a program path anyone
    // configures, and the system would not find it either.
    if (f[0].find_first_of(" \t") == 0)
        return;
    Require(SplitAsWindowsDoes(line) == expected, "dump line splits into the arguments meant");
    Require(SplitAsWindowsDoes("p " + QuoteArgument(f[1])) ==
                (f[1].empty() ? std::vector<std::string>{"p"} : std::vector<std::string>{"p", f[1]}),
            "one argument stays one");

    SafetyDumpCommandLine(f[0], f[3], f[4]);
    LoadCommandLine(f[0]);
    DatabaseExistsCommandLine(f[0], f[4]);
    DropDatabaseCommandLine(f[0], f[4]);
    bool exists = false;
    if (ReadDatabaseCount(f[1], exists))
        Require(f[1][0] == (exists ? '1' : '0'), "a count is read as written");
}

// The clients' reading of an option value: blanks around it dropped, a
// "#" outside quotes ends it, matching quotes around it removed, then the
// escapes undone (unknown ones keep their backslash).
std::string ReadOptionValue(std::string value)
{
    char quote = 0;
    bool escape = false;
    for (std::string::size_type i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if ((c == '\'' || c == '"') && !escape) {
            if (quote == 0)
                quote = c;
            else if (quote == c)
                quote = 0;
        }
        if (quote == 0 && c == '#') {
            value.resize(i);
            break;
        }
        escape = quote != 0 && c == '\\' && !escape;
    }
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    while (!value.empty() && isSpace(value.back()))
        value.pop_back();
    std::string::size_type begin = 0;
    while (begin < value.size() && isSpace(value[begin]))
        ++begin;
    value = value.substr(begin);
    if (value.size() > 1 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    std::string result;
    for (std::string::size_type i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            switch (next) {
            case 'n': result += '\n'; break;
            case 't': result += '\t'; break;
            case 'r': result += '\r'; break;
            case 'b': result += '\b'; break;
            case 's': result += ' '; break;
            case '"': result += '"'; break;
            case '\'': result += '\''; break;
            case '\\': result += '\\'; break;
            default: result += '\\'; result += next; break;
            }
        } else {
            result += value[i];
        }
    }
    return result;
}

void OptionFiles(const std::vector<std::string>& f)
{
    if (HasNul(f[0]))
        return;
    const std::string text = ClientOptionFileText(f[0]);
    const std::string prefix = "[client]\npassword=";
    Require(text.compare(0, prefix.size(), prefix) == 0 && text.back() == '\n', "one [client] section");
    const std::string line = text.substr(prefix.size(), text.size() - prefix.size() - 1);
    Require(line.find_first_of("\r\n") == std::string::npos, "the value stays on its line");
    Require(ReadOptionValue(line) == f[0], "the clients read back the password");
}

void SlotChoice(const std::vector<std::string>& f)
{
    std::vector<std::string> stored(f.begin() + 1, f.end());
    const KeepsetSlot slot = ChooseKeepsetSlot(stored, f[0]);
    Require(slot.number >= 1 && slot.number <= kKeepsetSlots, "slot in range");
    KeepsetSectionName(slot.number);
}

void Manifests(const std::vector<std::string>& f, const std::string& whole)
{
    const std::string::size_type split = whole.find('\x01');
    const ParsedManifest parsed =
        ParseManifest(whole.substr(0, split), split == std::string::npos ? "" : whole.substr(split + 1));
    const ParsedManifest again = ParseManifest(FormatManifest(parsed.entries), FormatSizeList(parsed.entries));
    Require(again.malformedLines == 0, "a formatted manifest parses cleanly");
    Require(again.entries.size() == parsed.entries.size(), "a formatted manifest keeps its entries");
    for (std::size_t i = 0; i < parsed.entries.size(); ++i) {
        // A name with a control character names no file (a line end of
        // CR CR LF leaves one CR on the path): such a line stays as read,
        // and the restore finds no file of that name.
        const std::string& path = parsed.entries[i].path;
        if (std::any_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
            continue;
        Require(again.entries[i].path == parsed.entries[i].path && again.entries[i].sha256 == parsed.entries[i].sha256,
                "entries survive formatting");
        // The writer writes every entry's size (a save knows them all); an
        // entry read without one comes back with the size it was given.
        Require(!parsed.entries[i].sizeKnown ||
                    (again.entries[i].sizeKnown && again.entries[i].size == parsed.entries[i].size),
                "sizes survive formatting");
    }
    KeepsetRelativePath(f[0], f[1]);
    SameKeepsetPath(f[0], f[1]);

    // The check reads the manifest one line at a time and must take each
    // line as the whole-text reader does; a path it follows stays below
    // the keepset and names the file the manifest names.
    const std::string checksums = whole.substr(0, split);
    std::size_t taken = 0;
    std::string::size_type start = 0;
    while (start < checksums.size()) {
        const std::string::size_type end = std::min(checksums.find('\n', start), checksums.size());
        std::string digest;
        std::string path;
        if (ParseChecksumLine(checksums.substr(start, end - start), digest, path)) {
            Require(taken < parsed.entries.size() && parsed.entries[taken].path == path &&
                        parsed.entries[taken].sha256 == digest,
                    "a checksum line reads alone as in the whole manifest");
            ++taken;
            if (IsPlainKeepsetPath(path))
                Require(KeepsetRelativePath("D:\\keep", "D:\\keep\\" + path) == path, "a plain path stays below the keepset");
        }
        start = end + 1;
    }
    Require(taken == parsed.entries.size(), "every entry is read line by line too");
}

// Retention: a pattern matches what it expands to, and no path that could
// leave the keepset directory is ever taken for one of its files.
void Retention(const std::vector<std::string>& f)
{
    LocalDateTime day;
    day.year = 2000 + static_cast<int>(f[1].size() % 100);
    day.month = 1 + static_cast<int>(f[2].size() % 12);
    day.day = 1 + static_cast<int>(f[3].size() % 28);
    std::string name = f[0];
    ExpandDatePatterns(name, day);
    Require(MatchesDatePattern(f[0], name), "a pattern matches its own expansion");
    if (IsPlainKeepsetPath(f[4])) {
        const std::string wrapped = "\\" + f[4] + "\\";
        Require(wrapped.find("\\..\\") == std::string::npos && wrapped.find("/../") == std::string::npos &&
                    f[4].find(':') == std::string::npos && f[4][0] != '\\' && f[4][0] != '/',
                "a plain keepset path stays below the keepset");
    }
    bool malformed = false;
    const int keep = ParseKeepComplete(f[5], malformed);
    Require(keep >= 0 && keep <= 9999 && !(malformed && keep != 0), "KeepComplete stays in range");
    std::vector<RetentionCandidate> candidates;
    for (std::size_t i = 0; i < f[6].size() && i < 40; ++i)
        candidates.push_back({static_cast<std::uint64_t>(f[6][i] & 0x0F), (f[6][i] & 0x10) != 0, i == 0});
    for (const std::size_t index : ChooseKeepsetsToRemove(candidates, keep))
        Require(index < candidates.size() && !candidates[index].justSaved, "the keepset just saved never goes");
    SameDirectoryText(f[0], f[7]);
}

// The message: the input repeated up to 64 times (so that messages reach
// many blocks), fed in pieces whose lengths the input's bytes give; the
// engine with the processor's instructions, where there is one, against
// the portable one fed whole.
void Sha256Engines(const std::string& text)
{
    if (text.empty())
        return;
    const std::size_t repeats = 1 + static_cast<unsigned char>(text[0]) % 64;
    std::string message;
    for (std::size_t i = 0; i < repeats; ++i)
        message += text;
    win::Sha256 whole(win::Sha256Engine::Portable);
    whole.Add(reinterpret_cast<const unsigned char*>(message.data()), message.size());
    const win::Sha256Digest expected = whole.Finish();
    win::Sha256 pieces(win::FastestSha256Engine());
    std::size_t at = 0;
    for (std::size_t i = 0; at < message.size(); ++i) {
        const std::size_t piece =
            std::min<std::size_t>(message.size() - at, 1 + static_cast<unsigned char>(text[i % text.size()]) * 3);
        pieces.Add(reinterpret_cast<const unsigned char*>(message.data()) + at, piece);
        at += piece;
    }
    Require(pieces.Finish() == expected, "both SHA-256 engines agree, whole or in pieces");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::vector<std::string> f = Fields(text);
    switch ((data[0] - 'a' + 256) % 9) {
    case 0: DatePatterns(f); break;
    case 1: CommaLists(f); break;
    case 2: Paths(f); break;
    case 3: DumpCommandLines(f); break;
    case 4: OptionFiles(f); break;
    case 5: SlotChoice(f); break;
    case 7: Sha256Engines(text); break;
    case 8: Retention(f); break;
    default: Manifests(f, text); break;
    }
    return 0;
}
