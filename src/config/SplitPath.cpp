#include "config/SplitPath.h"

PathParts SplitPath(const std::string& path)
{
    PathParts parts;
    std::string rest = path;
    if (rest.size() >= 2 && rest[1] == ':') {
        parts.drive = rest.substr(0, 2);
        rest.erase(0, 2);
    }
    const std::size_t lastSeparator = rest.find_last_of("\\/");
    const std::size_t nameStart = lastSeparator == std::string::npos ? 0 : lastSeparator + 1;
    parts.directory = rest.substr(0, nameStart);
    const std::string name = rest.substr(nameStart);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) {
        parts.fileName = name;
    } else {
        parts.fileName = name.substr(0, dot);
        parts.extension = name.substr(dot);
    }
    return parts;
}
