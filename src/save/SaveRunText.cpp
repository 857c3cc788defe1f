#include "save/SaveRunText.h"

std::string MakeDirectoryCommand(const std::string& directory)
{
    const bool needsQuotes = directory.find_first_of(" \t&|<>^(),;=") != std::string::npos;
    return needsQuotes ? "md \"" + directory + "\"" : "md " + directory;
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

std::string KeepsetNotMarkedText()
{
    return "Keepset could not be marked as being saved (record file or list entry not written)";
}
