#pragma once
// The command line that dumps one database with the server's "mysqldump"
// into <target directory>.\<database>.sql.
#include <string>

struct DumpCommandValues {
    std::string mysqlPath;        // directory of the server's client programs
    std::string userName;         // empty: no credentials on the line
    std::string password;         // empty: "-u<user>" only
    std::string targetDirectory;
    std::string databaseName;
};

// "<path>.\mysqldump --opt -B <credentials> -r<target>.\<database>.sql
// <database>", where the credentials are "", "-u<user> " or
// "-u<user> -p<password> ". A path or value with a blank or a quote
// character is quoted as one whole argument (QuoteArgument); without them
// the line is exactly that format. Empty when the program path holds a
// quote character and so cannot name a program.
std::string BuildDumpCommandLine(const DumpCommandValues& values);
