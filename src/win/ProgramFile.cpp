#include "win/ProgramFile.h"

#include <windows.h>

#include <vector>

namespace win {

std::string ProgramFilePath()
{
    std::vector<char> buffer(MAX_PATH + 1, '\0');
    // No path is longer than 32767 characters.
    while (buffer.size() <= 65536) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        // Cut to the buffer: try again with more room.
        buffer.assign(buffer.size() * 2, '\0');
    }
    return std::string();
}

std::string ApplicationName()
{
    std::string name = ProgramFilePath();
    const std::string::size_type separator = name.find_last_of("\\/");
    if (separator != std::string::npos)
        name.erase(0, separator + 1);
    const std::string::size_type dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

}  // namespace win
