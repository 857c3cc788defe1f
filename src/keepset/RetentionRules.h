#pragma once
// Which dated keepsets a save leaves behind when [Retention] KeepComplete
// asks to keep only the newest complete ones. Pure text logic: the run
// finds the candidates and removes what these rules choose.
#include <cstdint>
#include <string>
#include <vector>

// True when the text holds a date pattern a save would expand (DD, MM, YY,
// WD, WW; capitals only).
bool HasDatePattern(const std::string& text);

// True when a name could have been produced by expanding the pattern on
// some day: every pattern stands for its digits (YYYY four, the others
// two), every other character for itself without regard to case (A-Z), as
// the file system compares names.
bool MatchesDatePattern(const std::string& pattern, const std::string& name);

// The [Retention] KeepComplete value: the number of complete keepsets to
// keep, 0 when retention is off. A text that is not a plain decimal number
// (or is too large to mean anything) is off and sets `malformed`; an empty
// text (the key is missing) is off without it.
int ParseKeepComplete(const std::string& text, bool& malformed);

// A record's "Date" (07.12.2026) and "Time" (09:05:00) as one number that
// sorts as the moments do; false when either is not in that form.
bool RecordMoment(const std::string& date, const std::string& time, std::uint64_t& moment);

struct RetentionCandidate {
    std::uint64_t moment = 0;  // RecordMoment of its record
    bool complete = false;     // its record says State=complete
    bool justSaved = false;    // the keepset of this run
};

// The indices of the candidates that go: the `keep` newest complete ones
// stay (the one just saved among them, whatever its moment), and of the
// rest every one older than the oldest kept goes, complete or not. A
// candidate of the same moment as the oldest kept, or newer, never goes.
// Nothing goes when keep is below 1 or the one just saved is not complete.
std::vector<std::size_t> ChooseKeepsetsToRemove(const std::vector<RetentionCandidate>& candidates, int keep);


// True when two directory texts name the same directory as the system
// resolves them: case (A-Z), "\" or "/", doubled separators, "." components
// and the trailing dots and blanks a component loses do not count; ".."
// does (a text with it never names a keepset here).
bool SameDirectoryText(const std::string& a, const std::string& b);
