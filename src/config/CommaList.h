#pragma once
// The comma lists of the configuration file ("HtdocsSubDirToSave",
// "DumpDatabase"): names each followed by a comma, with no quoting.
#include <string>
#include <vector>

// The names of a list in their order. A run of commas is one separator and
// empty names fall away (a,,b, gives a and b); blanks are kept as they are.
std::vector<std::string> SplitCommaList(const std::string& list);

// The names in their order, each followed by a comma (a,b,); empty for no
// names. This is how the settings dialog writes a list.
std::string JoinCommaList(const std::vector<std::string>& names);

// Whether the name, without regard to case, occurs anywhere in the list
// text: a plain substring test, as the settings dialog pre-checks its
// lists, so "test" is found in "mytest,".
bool CommaListMentions(const std::string& list, const std::string& name);
