#pragma once
// Dumps one database with the server's "mysqldump" into
// <target directory>.\<database>.sql.
#include <string>

// Reads the program directory and the credentials of [MySQL] in the
// configuration file, runs the dump hidden and waits for it. True only when
// the dump program started and ended with status 0: a dump that fails
// (server down, unknown database, refused credentials) is a failure.
bool DumpMySqlDatabase(const std::string& databaseName, const std::string& targetDirectory);
