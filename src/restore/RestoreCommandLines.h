#pragma once
// The command lines that put one saved database back: the check whether
// the database exists, the safety dump of it as it is now, the load of a
// dump and the drop that a failed load's put-back begins with. All log in
// as root without a password; the user name and password of the settings
// are for the save run's dumps only. A dump is loaded through the client's
// standard input, where the client stops at the first failing statement
// and ends with an error status (a "source" statement inside "-e" goes on
// after errors and ends with status 0).
//
// The database is a name DumpFileDatabase accepted (letters, digits, "_",
// "$", "-", "@"): one word inside quotes and backticks.
#include "save/LocalDateTime.h"

#include <string>

// "<path>.\mysql.exe -u root -N -B -e"SELECT COUNT(*) FROM
// information_schema.SCHEMATA WHERE SCHEMA_NAME='<database>'"": writes
// "1" when the database exists, "0" when it does not; a server that cannot
// be reached gives an error status instead.
std::string DatabaseExistsCommandLine(const std::string& mysqlPath, const std::string& database);

// What the check wrote: true with exists set for exactly "1" or "0" and a
// line break; false for anything else, which tells nothing.
bool ReadDatabaseCount(const std::string& output, bool& exists);

// The line of a client's output that says what went wrong: the first that
// begins with "ERROR", else the first that holds more than blanks and
// dashes (the client frames the failing statement with lines of dashes),
// without its line break; empty for none.
std::string ClientMessage(const std::string& output);

// "<data path>.\<database>.<yyyymmdd-hhmmss>.bkp" for attempt 1, and
// "...<yyyymmdd-hhmmss>-<attempt>.bkp" after it: a name of its own for each
// run's safety dump, where an earlier one is never replaced.
std::string SafetyDumpFileName(const std::string& dataPath, const std::string& database, const LocalDateTime& now,
                               int attempt);

// "<path>.\mysqldump --opt -B -uroot -r<safety dump file> <database>": the
// database with its "CREATE DATABASE" into the file, which loaded again
// re-creates it as it is now.
std::string SafetyDumpCommandLine(const std::string& mysqlPath, const std::string& safetyDumpFile,
                                  const std::string& database);

// "<path>.\mysql.exe -u root": the client, which executes the dump given
// as its standard input.
std::string LoadCommandLine(const std::string& mysqlPath);

// "<path>.\mysql.exe -u root -e"DROP DATABASE IF EXISTS `<database>`"".
std::string DropDatabaseCommandLine(const std::string& mysqlPath, const std::string& database);

// All: a path or value with a blank is quoted as one whole argument;
// without blanks or quote characters the line is exactly the form above.
// Empty when the line cannot be formed: no program directory (the program
// would then be looked for in the current directory), or a quote
// character in the program directory.
