#pragma once
// Loads the database dumps of a keepset back into the database server.
#include "restore/KeepsetPlan.h"
#include "restore/RestoreProgress.h"

#include <string>

// For every planned "*.sql" file of root + plan.subDirectory, in listing
// order: a file not named "<database>.sql" as a save names its dumps
// (DumpFileDatabase) is a failure and is not loaded, nor is a file the
// manifest does not vouch for or whose hash is not the manifest's. The
// database of every other file is first
// dumped as it is now into <database>.bkp in [MySQL] MySQLDataPath, and
// only when that dump has ended with status 0 is the file loaded with the
// client in [MySQL] MySQLPath, which replaces the database's content. A
// database whose safety dump fails is left untouched. Both commands are
// waited for; the load is logged with "Restore MySQL database with
// command: %1", every failure with a line of its own.
//
// The dump directory is the current directory while the commands run (the
// load names its file relative to it) and the previous one is current
// again afterwards. No dump file at all logs "No files found in
// directory: <search>" and is no failure.
//
// Returns 1 when any database could not be restored, else 0.
int RestoreMySql(RestoreProgress& progress, const std::string& root, const DirectoryPlan& plan);
