#pragma once
// The command line that dumps one database with the server's "mysqldump"
// into <target directory>.\<database>.sql.
#include <string>

struct DumpCommandValues {
    std::string mysqlPath;        // directory of the server's client programs
    std::string userName;         // empty: no credentials on the line
    std::string optionFile;       // the password's option file; empty: none
    std::string targetDirectory;
    std::string databaseName;
};

// "<path>.\mysqldump --opt -B <credentials> -r<target>.\<database>.sql
// <database>", where the credentials are "" or "-u<user> ". The password
// never travels on the line: with an option file (ClientOptionText.h) the
// line begins "<path>.\mysqldump --defaults-extra-file=<file> --opt",
// which the dump program requires as its first option; without one the
// line is exactly the form above. A path or value with a blank or a quote
// character is quoted as one whole argument (QuoteArgument). Empty when the
// program path holds a quote character and so cannot name a program.
std::string BuildDumpCommandLine(const DumpCommandValues& values);
