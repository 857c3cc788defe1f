#pragma once
// Where the database server's programs and data live, worked out from the
// texts the server leaves behind: its "my.ini" basedir, its service's
// ImagePath, and the [MySQL] "MySQLPath" detected from them.
#include <string>

// The "bin" directory below a basedir, appended exactly as ".\bin" so that
// C:\mysql and C:\mysql\ both name C:\mysql\bin (a trailing "." of a path
// component is dropped when the path is used).
std::string BinDirectoryFromBaseDir(const std::string& baseDir);

// The directory of the server program of a service ImagePath: the command
// line's options (from the first " -") fall away, a quoted program path is
// taken from between its quotes, and the result is the drive followed by
// the directory, ending with a backslash. Empty when the text names no
// directory.
std::string BinDirectoryFromImagePath(const std::string& imagePath);

// The data directory beside a "bin" directory: its last 4 characters (the
// "bin" component with its separator) dropped and ".\data" appended, so
// C:\mysql\bin\ gives C:\mysql\.\data. The dot a basedir's ".\bin" leaves
// behind is dropped first: C:\mysql.\bin gives C:\mysql.\data and
// C:\mysql\.\bin gives C:\mysql\.\data. Empty when the text has 4
// characters or fewer: there is nothing to derive from.
std::string DataDirectoryFromBinDirectory(const std::string& mySqlPath);

// The pattern that lists a data directory's entries, whether or not the
// directory text ends with a backslash.
std::string DatabaseSearchPattern(const std::string& dataDirectory);
