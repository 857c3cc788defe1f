#pragma once
// What a restore finds in a keepset before it touches anything: the
// keepset's manifest, and for every keepset directory of the chosen items
// the files it holds, weighed against that manifest.
#include "restore/RestoreRules.h"
#include "save/ManifestFormat.h"

#include <string>
#include <vector>

// The manifest "qzkeepset.sha256" and the size list "qzkeepset.size" of a
// keepset.
class KeepsetManifest {
public:
    enum class Status {
        Absent,     // a keepset of an earlier version: its files cannot be verified
        Read,
        Unreadable  // there, but it cannot be read: nothing of the keepset can be trusted
    };

    // Reads both files of root. A size list that is missing or cannot be
    // read leaves the sizes unknown (the files are then checked for being
    // there, and by their hashes).
    void Read(const std::string& root);

    Status GetStatus() const { return status_; }
    // Null unless the manifest was read.
    const ParsedManifest* Entries() const { return status_ == Status::Read ? &parsed_ : nullptr; }
    std::string Path() const { return path_; }
    unsigned long Error() const { return error_; }
    bool SizesRead() const { return sizesRead_; }

private:
    Status status_ = Status::Absent;
    ParsedManifest parsed_;
    std::string path_;
    unsigned long error_ = 0;
    bool sizesRead_ = false;
};

// How the files of one keepset directory go back.
enum class DirectoryKind {
    Files,       // every planned file
    WindowsIni,  // only the names a save puts into the win folder
    Dumps        // database dumps, loaded into the server
};

struct DirectoryPlan {
    std::string subDirectory;  // below the keepset root, as the restore joins it ("\qzt")
    std::string pattern;       // empty: every file
    DirectoryKind kind = DirectoryKind::Files;
    // Files the restore expects in this directory, whose absence is a
    // failure: "vm001.dbf", and the personnel files the save was set to
    // save.
    std::vector<std::string> expected;
    bool anyEntry = false;  // the search found at least one entry
    // The system's error when the search could not read the directory (the
    // files are then not all there are); 0 when it could.
    unsigned long searchError = 0;
    std::vector<PlannedFile> files;
};

// Lists root + subDirectory with pattern and plans its files against the
// manifest (null: none).
DirectoryPlan PlanDirectory(const std::string& root, const ParsedManifest* manifest, const std::string& subDirectory,
                            const std::string& pattern, DirectoryKind kind);

// Whether a planned file takes part in the restore at all: names a save
// never puts into the win folder do not.
bool IsRestoredName(const DirectoryPlan& plan, const std::string& name);
