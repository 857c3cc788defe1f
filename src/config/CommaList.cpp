#include "config/CommaList.h"

#include "config/LowerCase.h"

std::vector<std::string> SplitCommaList(const std::string& list)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string::npos)
            comma = list.size();
        if (comma > start)
            names.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    return names;
}

std::string JoinCommaList(const std::vector<std::string>& names)
{
    std::string list;
    for (const std::string& name : names)
        list += name + ",";
    return list;
}

bool CommaListMentions(const std::string& list, const std::string& name)
{
    return LowerCase(list).find(LowerCase(name)) != std::string::npos;
}
