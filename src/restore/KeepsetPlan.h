#pragma once
// What a restore finds in a keepset before it touches anything: the
// keepset's manifest, and for every keepset directory of the chosen items
// the files it holds, weighed against that manifest.
#include "keepset/KeepsetManifest.h"
#include "restore/RestoreRules.h"
#include "keepset/ManifestFormat.h"

#include <string>
#include <vector>

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
