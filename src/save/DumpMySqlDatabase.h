#pragma once
// Dumps one database with the server's "mysqldump" into
// <target directory>.\<database>.sql.
#include <string>

// Reads the program directory and the credentials of [MySQL] in the
// configuration file, runs the dump hidden and waits for it. A password
// (used only with a user name) reaches the program through a temporary
// option file (ClientOptionFile) that is gone again when this returns. A file
// that cannot be deleted is named in the run log. True only when the dump
// program started and ended with status 0: a dump that fails (server down, unknown
// database, refused credentials) or whose end could not be learned is a
// failure. A database name, target directory or option file name that the
// ANSI code page cannot carry (a wrapped name, win/WrappedNames.h) is
// refused with a failure line of its own: the program is not started.
bool DumpMySqlDatabase(const std::string& databaseName, const std::string& targetDirectory);
