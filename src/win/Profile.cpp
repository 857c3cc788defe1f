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
