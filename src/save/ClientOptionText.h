#pragma once
// The content of the temporary option file that hands the password to the
// database server's client programs, instead of the command line, where any
// process could read it.
#include <string>

// "[client]\npassword="<password>"\n": the value enclosed in double quotes
// (blanks at either end and a "#" stay part of it) with a backslash, a double
// quote, a tab, a line break, a carriage return and a backspace written as
// the clients' option-file escapes \\, \", \t, \n, \r, \b.
std::string ClientOptionFileText(const std::string& password);

// The option that names such a file to a client program. The clients
// accept it only as their first option; a path with a blank is quoted as
// one whole argument.
std::string OptionFileArgument(const std::string& optionFile);

// The names of these files in the temporary directory:
// "qzkeepset-<process id>-<number>.cnf".
constexpr const char* kClientOptionFilePrefix = "qzkeepset-";
constexpr const char* kClientOptionFileExtension = ".cnf";

// True for a name of that form, and for "qzk<process id>-<number>.cnf",
// the form of earlier versions, with the process id given back: what a
// start of the program may take for its own.
bool ClientOptionFileProcessId(const std::string& fileName, unsigned long& processId);
