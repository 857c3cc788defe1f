#pragma once
// Private-profile (ini file) access, one key per call. A bare file name
// means the file of that name in the Windows directory.
#include <cstddef>
#include <string>
#include <vector>

namespace win {

// GetPrivateProfileStringA into a buffer of usableLength + 1 characters: a
// longer value comes back cut to usableLength characters.
std::string ReadProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& defaultValue,
                              std::size_t usableLength);

// The same, telling a failed read from a key that is not there: false when
// the file could not be read (the value is then the default). A missing
// file, section or key is no failure.
bool ReadProfileStringChecked(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& defaultValue, std::size_t usableLength, std::string& value);

// GetPrivateProfileIntA: a non-numeric value reads as 0, a missing key as
// the default.
int ReadProfileInt(const std::string& file, const std::string& section,
                   const std::string& key, int defaultValue);

// WritePrivateProfileStringA of one key; creates the file if needed.
bool WriteProfileValue(const std::string& file, const std::string& section,
                       const std::string& key, const std::string& value);

// GetPrivateProfileSectionNamesA: every section name of the file, in file
// order (none for a missing file). False when the call fails.
bool ReadProfileSectionNames(const std::string& file, std::vector<std::string>& names);

// GetPrivateProfileSectionA: the lines of one section as the profile
// functions hold them ("key=value"). False when the call fails.
bool ReadProfileSection(const std::string& file, const std::string& section, std::vector<std::string>& lines);

// WritePrivateProfileStringA with no section, key or value: the system
// writes out and forgets what it keeps of the file in memory, so the next
// read goes to the disk.
void ForgetProfileFile(const std::string& file);

}  // namespace win
