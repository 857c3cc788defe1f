#include "support/ProfileFiles.h"

#include "support/WineHost.h"

#include <windows.h>

namespace qztest {
namespace {

void FlushProfile(const std::string& windowsPath)
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, windowsPath.c_str());
}

}  // namespace

void WriteProfileFile(const std::string& windowsPath, const std::string& content)
{
    FlushProfile(windowsPath);
    WriteFileText(windowsPath, content);
}

void RemoveProfileFile(const std::string& windowsPath)
{
    FlushProfile(windowsPath);
    DeleteFileA(windowsPath.c_str());
}

ProfileContent ReadProfileContent(const std::string& windowsPath)
{
    FlushProfile(windowsPath);
    ProfileContent content;
    std::string section;
    for (const std::string& line : ReadLines(windowsPath)) {
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            content[section];
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos)
            content[section][line.substr(0, equals)] = line.substr(equals + 1);
    }
    return content;
}

}  // namespace qztest
