#include "save/SaveRunText.h"

std::string MakeDirectoryCommand(const std::string& directory)
{
    const bool needsQuotes = directory.find_first_of(" \t&|<>^(),;=") != std::string::npos;
    return needsQuotes ? "md \"" + directory + "\"" : "md " + directory;
}

std::string LowerCase(const std::string& text)
{
    std::string lower = text;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
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
