#pragma once
// Ini files a test prepares or inspects: the configuration file, "my.ini",
// "qzpers.ini". Wine keeps recently used profiles in memory, so each helper
// first hands Wine's copy back to the disk.
#include <map>
#include <string>

namespace qztest {

// Section -> key -> value, as the file holds them.
using ProfileContent = std::map<std::string, std::map<std::string, std::string>>;

// Writes the file with exactly this text (creating its directory).
void WriteProfileFile(const std::string& windowsPath, const std::string& content);
// Removes the file; nothing happens when it is missing.
void RemoveProfileFile(const std::string& windowsPath);
// Every section and key of the file; empty when it is missing.
ProfileContent ReadProfileContent(const std::string& windowsPath);

}  // namespace qztest
