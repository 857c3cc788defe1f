#pragma once
// Private-profile (ini file) access, one key per call. A bare file name
// means the file of that name in the Windows directory.
#include <cstddef>
#include <string>

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

}  // namespace win
