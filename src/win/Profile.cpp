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

namespace {

// The "\0"-separated list a section call fills, ended by an empty entry.
// The buffer grows until the list fits (the call returns the buffer size
// minus two when it does not).
template <typename Call>
bool ReadNulList(Call call, std::vector<std::string>& items)
{
    items.clear();
    for (DWORD size = 4096; size <= (1u << 24); size *= 4) {
        std::vector<char> buffer(size, '\0');
        const DWORD length = call(buffer.data(), size);
        if (length + 2 >= size)
            continue;
        for (const char* item = buffer.data(); *item != '\0' && item < buffer.data() + length;) {
            const std::string text(item);
            items.push_back(text);
            item += text.size() + 1;
        }
        return true;
    }
    return false;
}

}  // namespace

bool ReadProfileSectionNames(const std::string& file, std::vector<std::string>& names)
{
    names.clear();
    if (InjectedFailure(Op::ProfileRead))
        return false;
    return ReadNulList(
        [&file](char* buffer, DWORD size) { return GetPrivateProfileSectionNamesA(buffer, size, file.c_str()); },
        names);
}

bool ReadProfileSection(const std::string& file, const std::string& section, std::vector<std::string>& lines)
{
    lines.clear();
    if (InjectedFailure(Op::ProfileRead))
        return false;
    return ReadNulList(
        [&](char* buffer, DWORD size) {
            return GetPrivateProfileSectionA(section.c_str(), buffer, size, file.c_str());
        },
        lines);
}

void ForgetProfileFile(const std::string& file)
{
    // Counted with the reads: it only makes the next read go to the disk.
    if (InjectedFailure(Op::ProfileRead))
        return;
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
}

}  // namespace win
