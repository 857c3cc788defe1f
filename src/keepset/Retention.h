#pragma once
// Retention of dated keepsets: with [Retention] KeepComplete=N in the
// configuration file, a save into a directory named by date patterns that
// ended complete leaves only the N newest complete keepsets of that pattern
// (itself among them) and removes the older ones. Removing a keepset deletes
// only what its manifest and size list name, then its record files, then
// the folders left empty: a file it does not list stays, with its folder.
#include <functional>
#include <string>

constexpr const char* kSectionRetention = "Retention";
constexpr const char* kKeyKeepComplete = "KeepComplete";

// How retention tells the run what it did: a line for the run log alone, a
// step done (a green line) or a step that failed (a red line).
enum class RetentionLine { LogOnly, Done, Failed };
using RetentionReport = std::function<void(RetentionLine, const std::string&)>;

// After a save into savedDirectory, which the user typed as typedDirectory
// (date patterns and all), ended complete. Does nothing unless the typed
// directory holds a date pattern and KeepComplete is set. False when a
// keepset could not be removed whole or the list could not be updated:
// the run then ends with errors. A keepset whose removal failed keeps its
// record files and its list entry.
bool ApplyRetention(const std::string& typedDirectory, const std::string& savedDirectory,
                    const RetentionReport& report);
