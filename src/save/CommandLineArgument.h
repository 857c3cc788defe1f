#pragma once
// Writing one argument into a command line so that the started program's
// C runtime splits its arguments back exactly as they were meant: a value
// with a blank (a directory under "Program Files", a password) stays one
// argument, and a quote character inside it can neither end it nor start
// another option.
#include <string>

// The argument as it is when it holds no blank, tab, line break or quote
// character (or is empty); otherwise enclosed in quotes, with every quote
// character and every run of backslashes before a quote or the closing
// quote escaped by the standard rules of the Windows argument parser.
std::string QuoteArgument(const std::string& argument);

// The program's path, the first word of a command line. The system reads
// it without escapes, up to the next quote, so a path with a blank or tab
// is only enclosed in quotes. Empty when the path holds a quote character,
// which no file name can contain.
std::string QuoteProgramPath(const std::string& path);
