#include "config/MySqlDataDirectory.h"

#include "config/ConfigFile.h"
#include "config/MySqlPaths.h"
#include "config/ProfileFileUpdate.h"
#include "win/Profile.h"

namespace {

// Usable lengths: the settings dialog reads these values with room for 79
// characters, the save run with room for 127.
constexpr std::size_t kSettingsLength = 79;
constexpr std::size_t kSaveRunLength = 127;

const char* const kServerIniFile = "my.ini";
const char* const kOwnServerIniFile = "\\qz_mysql\\conf\\my.ini";

std::string ReadDataPath(std::size_t length)
{
    return win::ReadProfileString(kConfigFile, kSectionMySql, "MySQLDataPath", "", length);
}

void WriteDataPath(const std::string& dataPath)
{
    WriteConfigValue(kSectionMySql, "MySQLDataPath", dataPath);
}

std::string ReadServerDataDir(const char* iniFile, std::size_t length)
{
    return win::ReadProfileString(iniFile, "mysqld", "datadir", "", length);
}

std::string DataDirectoryBesideMySqlPath(std::size_t length)
{
    return DataDirectoryFromBinDirectory(
        win::ReadProfileString(kConfigFile, kSectionMySql, "MySQLPath", "", length));
}

}  // namespace

std::string FindMySqlDataDirectoryForSettings()
{
    std::string found = ReadDataPath(kSettingsLength);
    if (!found.empty())
        return found;
    found = ReadServerDataDir(kOwnServerIniFile, kSettingsLength);
    if (!found.empty()) {
        WriteDataPath(found);
        return found;
    }
    found = ReadServerDataDir(kServerIniFile, kSettingsLength);
    if (!found.empty())
        return found;
    found = DataDirectoryBesideMySqlPath(kSettingsLength);
    if (!found.empty())
        WriteDataPath(found);
    return found;
}

std::string FindMySqlDataDirectoryForSaveRun()
{
    std::string found = ReadDataPath(kSaveRunLength);
    if (!found.empty())
        return found;
    found = ReadServerDataDir(kServerIniFile, kSaveRunLength);
    if (found.empty())
        found = DataDirectoryBesideMySqlPath(kSaveRunLength);
    if (!found.empty())
        WriteDataPath(found);
    return found;
}
