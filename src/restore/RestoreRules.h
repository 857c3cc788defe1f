#pragma once
// What a restore takes from a keepset and what it refuses: the names a save
// puts into the win folder, the names of database dumps, the state a record
// gives its keepset, and how the files a keepset directory holds are
// weighed against the keepset's manifest.
#include "keepset/KeepsetRecordFormat.h"
#include "keepset/ManifestFormat.h"

#include <cstdint>
#include <string>
#include <vector>

// True for the names a save copies from the Windows directory: qz*.ini,
// vmqzt.ini, pmqzt.ini and setupal.ini, in any letter case. Nothing else
// in a keepset's win folder goes back into the Windows directory.
bool IsSavedWindowsIni(const std::string& name);

// True when fileName is "<database>.sql" (".sql" in any case) and the
// database part is not empty, holds only letters, digits, "_", "$", "-"
// and "@" (what a database directory's name holds) and does not begin
// with "-" (which the programs would read as an option). The database
// part is given back. Such a name is one word to the dump program and to
// the client's "source" command: no blank, quote, ";" or other text
// that could end the statement it is put into.
bool DumpFileDatabase(const std::string& fileName, std::string& database);

// The search patterns a restore uses ("*" and "?", "*.*" for every name),
// matched against a name without regard to letter case.
bool MatchesFilePattern(const std::string& name, const std::string& pattern);

// One file of a keepset directory as the restore will treat it.
enum class FileVerdict {
    Verified,    // listed in the manifest, there with the listed size: copy and check its hash
    Unverified,  // the keepset has no manifest: copied as it is
    Changed,     // listed in the manifest, but its size is not the listed one
    Missing,     // listed in the manifest, not in the keepset
    Unlisted     // in the keepset, not in its manifest: the save did not vouch for it
};

struct ListedFile {
    std::string name;
    std::uint64_t size = 0;
};

struct PlannedFile {
    std::string name;
    FileVerdict verdict = FileVerdict::Unverified;
    std::string sha256;  // the manifest's digest for Verified files
};

// The files of one keepset directory, relativeDirectory below the keepset
// (manifest form, "" for the keepset itself), as far as they match
// pattern: first the listed ones in listing order, then the manifest's
// entries that the listing lacks. manifest is null for a keepset without
// one. Manifest entries in sub-directories of the directory are not its
// files (a restore is not recursive).
std::vector<PlannedFile> PlanKeepsetDirectory(const std::vector<ListedFile>& listed, const ParsedManifest* manifest,
                                              const std::string& relativeDirectory, const std::string& pattern);

// The directory inside a target directory that holds the temporary copies
// until each replaces its file: a new name in a small directory is cheap
// to create where the target directory holds thousands of files, and the
// move from it into the target stays on the same volume, in one step. Each
// target directory of each run gets one of its own, of a new name
// ("qzrestore-<process>-<time>-<n>.tmp") that the run creates itself: an
// entry planted under a name, or left by a run that was killed, is never
// used or in the way.
constexpr const char* kTemporaryDirectoryPrefix = "qzrestore-";
