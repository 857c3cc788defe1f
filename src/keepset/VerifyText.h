#pragma once
// What a check of keepsets (/verify) decides and says, without the system:
// the exit status, the run-log lines, the order of the listed keepsets and
// the lines of the manifest and the size list read one at a time.
#include "keepset/ManifestFormat.h"

#include <cstdint>
#include <string>
#include <vector>

// Exit status of a check: every keepset whole and complete; a listed file
// missing or changed, or a keepset not saved to its end; nothing to check.
constexpr int kVerifyWhole = 0;
constexpr int kVerifyFailed = 1;
constexpr int kVerifyNothing = 4;

// Of two keepsets' statuses the one a scheduler must hear of: a failure
// over nothing to check over whole.
int WorseVerifyStatus(int a, int b);

struct VerifyCounts {
    std::uint64_t listed = 0;      // files the manifest names
    std::uint64_t whole = 0;       // read back with the listed size and hash
    std::uint64_t missing = 0;
    std::uint64_t changed = 0;     // another size or hash
    std::uint64_t unreadable = 0;  // there, but cannot be read
    std::uint64_t malformed = 0;   // manifest lines not understood
    std::uint64_t unlisted = 0;    // present but not named: reported only

    void Add(const VerifyCounts& other);
    bool AnyFailure() const { return missing + changed + unreadable + malformed != 0; }
};

// The status of one keepset whose manifest was read, from its files and the
// state its record gives ("complete" is the only whole one).
int KeepsetVerifyStatus(const VerifyCounts& counts, const std::string& state);

// A manifest path that names a file below the keepset and nothing else: no
// drive, no leading separator, no empty, "." or ".." component, none that
// ends in a dot or blank (the file system would drop those and name
// another file), no "/", no ":" (another stream), no wildcard and no
// control character. Nothing else is ever opened or deleted by its path.
bool IsPlainKeepsetPath(const std::string& path);

// The files the save itself writes beside what it saved; never "not listed".
bool IsKeepsetRecordFile(const std::string& relativePath);

// An entry of the keepset list, [SaveN] of the configuration file.
struct ListedKeepset {
    std::string path;
    std::string date;  // "07.12.2026"
    std::string time;  // "09:05:00"
};

// The entries newest first by their date and time (an entry without a
// readable date last, in list order); the same directory, whatever its
// case, once.
std::vector<ListedKeepset> NewestFirst(const std::vector<ListedKeepset>& entries);

// Run-log texts.
std::string VerifyStartLine(const std::string& keepset);
std::string VerifyMissingLine(const std::string& file);
std::string VerifyChangedLine(const std::string& file);
std::string VerifyUnreadableLine(const std::string& file);
std::string VerifyMalformedLine(const std::string& manifest, std::uint64_t lineNumber);
std::string VerifyUnlistedLine(const std::string& file);
std::string VerifyStateLine(const std::string& keepset, const std::string& state);
std::string VerifySummaryLine(const std::string& keepset, const VerifyCounts& counts);
std::string VerifyOutcomeLine(int status, std::size_t keepsets);
