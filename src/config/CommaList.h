#pragma once
// The comma lists of the configuration file ("HtdocsSubDirToSave",
// "DumpDatabase"): names each followed by a comma, with no quoting.
#include <string>
#include <vector>

// The names of a list in their order. A run of commas is one separator and
// empty names fall away (a,,b, gives a and b); blanks are kept as they are.
std::vector<std::string> SplitCommaList(const std::string& list);
