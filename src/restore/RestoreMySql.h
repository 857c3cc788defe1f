#pragma once
// Loads the database dumps of a keepset back into the database server.
#include "restore/KeepsetPlan.h"
#include "restore/RestoreProgress.h"

#include <string>

// For every planned "*.sql" file of root + plan.subDirectory, in listing
// order: a file not named "<database>.sql" as a save names its dumps
// (DumpFileDatabase) is a failure and is not loaded, nor is a file the
// manifest does not vouch for. Every other file is copied into a folder
// the run makes for itself in the temporary directory, and that copy,
// checked against the manifest's digest when there is one, is what the
// client loads. Before the load the client tells whether the database
// exists: when it does, it is dumped as it is now into a new file
// <database>.<yyyymmdd-hhmmss>.bkp in [MySQL] MySQLDataPath (the log names
// it), and only when that dump has ended with status 0 is the copy loaded;
// when it does not, that is logged and the load creates it. The load feeds
// the copy to the client in [MySQL] MySQLPath on its standard input and is
// logged with "Restore MySQL database with command: %1" (the command and
// the file fed to it). A load that fails is put back: the database is
// dropped and its safety dump loaded, or, when it did not exist before,
// dropped only, and the log says so. Every program is waited for; every
// failure has a line of its own. The temporary folder is removed at the
// end. No dump file at all logs "No files found in directory: <search>"
// and is no failure.
//
// Returns 1 when any database could not be restored, else 0.
int RestoreMySql(RestoreProgress& progress, const std::string& root, const DirectoryPlan& plan);
