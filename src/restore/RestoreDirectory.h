#pragma once
// Copies the files of one keepset directory back into the installation.
#include "restore/KeepsetPlan.h"
#include "restore/RestoreProgress.h"

#include <string>

// Puts the planned files of one keepset directory into target under the
// same names. Nothing is written into a target directory that is a
// junction, symbolic link or mount point. Each file is copied to a new
// file in a temporary directory of a new name that the run creates in the
// target directory (the move then stays on one volume) and removes again
// at the end, also after a failure; a verified file's copy is hashed and
// compared with the manifest, and only then does the copy replace the
// file in one step; on any failure the file stays as it was and the
// temporary copy is removed. Each file is logged: "%1 restored to %2", or
// "FAILED to restore %1 to %2 !" with the reason (a failed copy, a copy
// that does not match the manifest, a file the manifest lists and the
// keepset lacks or holds with another size, a target directory not to be
// written into). A file the manifest does not list is left out without a
// failure (RestoreProgress::LeaveOut). A win folder's files other than the
// configuration ini files are left where they are, with a line each. An
// expected file the keepset lacks is a failure. A directory whose search
// found nothing logs "No files found in directory: <search>" and is no
// failure; one whose search could not read it logs a failure line. target
// must not be empty.
//
// keepWhenPresent names a file that is put back only when the target has
// none (the configuration file in use); while it is there, no file of the
// keepset that is the same file under another name (a short name, another
// letter case, trailing dots) replaces it either; each is left as it is,
// with one line.
//
// Returns 1 when at least one file was not restored as it should, else 0.
int RestoreDirectory(RestoreProgress& progress, const std::string& target, const std::string& root,
                     const DirectoryPlan& plan, const std::string& keepWhenPresent = std::string());

// Logs that the search of the plan's keepset directory could not read it
// and returns true; false when the search could.
bool LoggedSearchFailure(RestoreProgress& progress, const std::string& root, const DirectoryPlan& plan);

// Logs a planned file that cannot be restored as it is (Missing, Changed
// or Unlisted) and returns true; false for a file that can.
bool LogUnrestorable(RestoreProgress& progress, const PlannedFile& file, const std::string& source,
                     const std::string& destination);

// The reason text of a file that does not pass; empty for one that does.
std::string VerdictReason(FileVerdict verdict);
