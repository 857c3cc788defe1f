#pragma once
// Copies the files of one keepset directory back into the installation.
#include "restore/KeepsetPlan.h"
#include "restore/RestoreProgress.h"

#include <string>

// Puts the planned files of one keepset directory into target under the
// same names. Each file is copied to a temporary name in the target
// directory (in its sub-directory kTemporaryDirectoryName, removed again at
// the end), a verified file's copy is hashed and compared
// with the manifest, and only then does the copy replace the file in one
// step; on any failure the file stays as it was and the temporary copy is
// removed. Each file is logged: "%1 restored to %2", or "FAILED to restore
// %1 to %2 !" with the reason (a failed copy, a copy that does not match
// the manifest, a file the manifest lists and the keepset lacks or holds
// with another size, a file the manifest does not vouch for). A win
// folder's files other than the configuration ini files are left where
// they are, with a line each. An expected file the keepset lacks is a
// failure. A directory whose search found nothing logs "No files found in
// directory: <search>" and is no failure. target must not be empty.
//
// keepWhenPresent names a file that is put back only when the target has
// none (the configuration file in use); otherwise it is left as it is and
// one line says so.
//
// Returns 1 when at least one file was not restored as it should, else 0.
int RestoreDirectory(RestoreProgress& progress, const std::string& target, const std::string& root,
                     const DirectoryPlan& plan, const std::string& keepWhenPresent = std::string());

// Logs a planned file that cannot be restored as it is (Missing, Changed
// or Unlisted) and returns true; false for a file that can.
bool LogUnrestorable(RestoreProgress& progress, const PlannedFile& file, const std::string& source,
                     const std::string& destination);

// The reason text of a file that does not pass; empty for one that does.
std::string VerdictReason(FileVerdict verdict);
