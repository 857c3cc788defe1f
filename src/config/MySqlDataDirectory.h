#pragma once
// Finding the data directory of the database server, whose sub-directories
// are the databases. Each source is tried only while the ones before it gave
// nothing; what a source finds may be written back to [MySQL]
// "MySQLDataPath", so the next search finds it first.
#include <string>

// For the settings dialog's database list: [MySQL] "MySQLDataPath";
// "datadir" of "\qz_mysql\conf\my.ini" on the current drive (written back);
// "datadir" of "my.ini" in the Windows directory (not written back); the
// directory beside [MySQL] "MySQLPath" (written back). Empty when every
// source is empty.
std::string FindMySqlDataDirectoryForSettings();

// For a save run that dumps every database: [MySQL] "MySQLDataPath";
// "datadir" of "my.ini" (written back); the directory beside [MySQL]
// "MySQLPath" (written back), derived as the settings dialog does so both
// find the same directory. Empty when every source is empty: the run then
// has no databases to list.
std::string FindMySqlDataDirectoryForSaveRun();
