#include "save/SaveRunText.h"

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// Where the first level begins: after "E:\", a leading separator, or
// "\\server\share\".
std::size_t RootLength(const std::string& directory)
{
    if (directory.size() >= 2 && IsSeparator(directory[0]) && IsSeparator(directory[1])) {
        std::size_t at = 2;
        for (int part = 0; part < 2 && at < directory.size(); ++part) {
            while (at < directory.size() && !IsSeparator(directory[at]))
                ++at;
            if (at < directory.size())
                ++at;
        }
        return at;
    }
    std::size_t at = 0;
    if (directory.size() >= 2 && directory[1] == ':')
        at = 2;
    if (at < directory.size() && IsSeparator(directory[at]))
        ++at;
    return at;
}

}  // namespace

std::vector<std::string> DirectoryLevels(const std::string& directory)
{
    std::vector<std::string> levels;
    for (std::size_t at = RootLength(directory); at < directory.size(); ++at) {
        if (IsSeparator(directory[at]) && at > 0 && !IsSeparator(directory[at - 1]))
            levels.push_back(directory.substr(0, at));
    }
    if (directory.size() > RootLength(directory) && !IsSeparator(directory.back()))
        levels.push_back(directory);
    return levels;
}

bool IsPlainName(const std::string& name)
{
    return name.find_first_of("\\/:") == std::string::npos && name.find("..") == std::string::npos;
}

std::string WebConfDirectory(const std::string& htdocsLowerCase, bool ownLayout)
{
    const std::size_t at = htdocsLowerCase.find("htdocs");
    if (!ownLayout || at == std::string::npos)
        return std::string();
    return htdocsLowerCase.substr(0, at) + "conf";
}

std::string DesktopNotFoundText(const std::string& registryValue)
{
    return "Desktop folder \"" + registryValue + "\" not found in the registry, not saved";
}

std::string NoDataDirectoryText()
{
    return "No MySQL data directory found (MySQLDataPath, my.ini datadir, MySQLPath), no database saved";
}
