#include "win/Profile.h"

#include "win/InjectedFailure.h"

#include <windows.h>

#include <vector>

namespace win {

std::string ReadProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& defaultValue,
                              std::size_t usableLength)
{
    if (InjectedFailure(Op::ProfileRead))
        return defaultValue.substr(0, usableLength);
    std::vector<char> buffer(usableLength + 1, '\0');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                                  buffer.data(), static_cast<DWORD>(buffer.size()),
                                                  file.c_str());
    return std::string(buffer.data(), length < buffer.size() ? length : usableLength);
}

bool ReadProfileStringChecked(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& defaultValue, std::size_t usableLength, std::string& value)
{
    if (InjectedFailure(Op::ProfileRead)) {
        value = defaultValue.substr(0, usableLength);
        return false;
    }
    std::vector<char> buffer(usableLength + 1, '\0');
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                                  buffer.data(), static_cast<DWORD>(buffer.size()),
                                                  file.c_str());
    const DWORD error = GetLastError();
    value = std::string(buffer.data(), length < buffer.size() ? length : usableLength);
    // A value found was read. Otherwise the profile functions report a
    // file, section or key that is not there as "not found"; any other
    // error means the file itself could not be read.
    if (value != defaultValue.substr(0, usableLength))
        return true;
    return error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_MORE_DATA;
}

int ReadProfileInt(const std::string& file, const std::string& section, const std::string& key,
                   int defaultValue)
{
    if (InjectedFailure(Op::ProfileRead))
        return defaultValue;
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, file.c_str()));
}

bool WriteProfileValue(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value)
{
    if (InjectedFailure(Op::ProfileWrite))
        return false;
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

}  // namespace win
