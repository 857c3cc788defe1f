#pragma once
// The two command lines that put one saved database back: the safety dump
// of the database as it is now, and the load of the saved dump. Both log
// in as root without a password; the user name and password of the
// settings are for the save run's dumps only.
#include <string>

// "<path>.\mysqldump --opt -B -uroot -r<data path>.\<database>.bkp
// <database>": writes the database into <database>.bkp in the server's
// data directory, replacing an earlier file of that name.
std::string SafetyDumpCommandLine(const std::string& mysqlPath, const std::string& dataPath,
                                  const std::string& database);

// "<path>.\mysql.exe -u root -e"source <dump file>"": the client executes
// the dump file, which re-creates the database and its tables. The file is
// named relative to the current directory, the keepset's dump directory.
std::string LoadCommandLine(const std::string& mysqlPath, const std::string& dumpFile);

// Both: a path or value with a blank is quoted as one whole argument;
// without blanks or quote characters the line is exactly the form above.
// Empty when the line cannot be formed: no program directory (the program
// would then be looked for in the keepset's dump directory), or a quote
// character in the program directory or in the dump file's name.
