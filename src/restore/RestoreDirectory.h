#pragma once
// Copies the files of one keepset directory back into the installation.
#include "restore/RestoreProgress.h"

#include <string>

namespace win {
class DirectorySearch;
}

// Copies every file of root + subDirectory that matches pattern (empty:
// "*.*") into target under the same name, replacing what is there, and
// logs each copy ("%1 restored to %2" or "FAILED to restore %1 to %2 !").
// Directories are skipped: the restore is not recursive. A search that
// finds nothing logs "No files found in directory: <search>" and is no
// failure; one that cannot read the directory logs a failure line. target
// must not be empty.
//
// keepWhenPresent names a file that is put back only when the target has
// none (the configuration file in use); otherwise it is left as it is and
// one line says so.
//
// Returns 1 when at least one copy failed, else 0.
int RestoreDirectory(RestoreProgress& progress, const std::string& target, const std::string& root,
                     const std::string& subDirectory, const std::string& pattern,
                     const std::string& keepWhenPresent = std::string());

// When the search could not read the keepset directory (win::DirectorySearch
// failed): logs the failure line and returns true.
bool ReportedSearchFailure(RestoreProgress& progress, const win::DirectorySearch& search,
                           const std::string& directory);
