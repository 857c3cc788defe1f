#include "support/WineHost.h"

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace qztest {
namespace {

using UnixFileNameFunction = char*(CDECL*)(LPCWSTR);
using UnixSpawnFunction = LONG(CDECL*)(char* const argv[], int wait);

std::wstring Widen(const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length - 1 : 0);
    return wide;
}

HKEY Root(bool localMachine)
{
    return localMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

}  // namespace

std::string UnixPathOf(const std::string& windowsPath)
{
    static auto function = reinterpret_cast<UnixFileNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (function == nullptr)
        return std::string();
    char* unixPath = function(Widen(windowsPath).c_str());
    if (unixPath == nullptr)
        return std::string();
    std::string result(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

int RunUnix(const std::vector<std::string>& argv)
{
    static auto function = reinterpret_cast<UnixSpawnFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "__wine_unix_spawnvp")));
    if (function == nullptr || argv.empty())
        return -1;
    std::vector<char*> pointers;
    for (const auto& argument : argv)
        pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    return static_cast<int>(function(pointers.data(), 1));
}

std::string WinePrefix()
{
    const char* prefix = std::getenv("WINEPREFIX");
    return prefix != nullptr ? prefix : "";
}

void MapDrive(char letter, const std::string& windowsFolder)
{
    const std::string link = WinePrefix() + "/dosdevices/" + static_cast<char>(std::tolower(letter)) + ":";
    RunUnix({"/bin/ln", "-sfn", UnixPathOf(windowsFolder), link});
}

void UnmapDrive(char letter)
{
    const std::string link = WinePrefix() + "/dosdevices/" + static_cast<char>(std::tolower(letter)) + ":";
    RunUnix({"/bin/rm", "-f", link});
}

void MapShare(const std::string& server, const std::string& share, const std::string& windowsFolder)
{
    const std::string serverFolder = WinePrefix() + "/dosdevices/unc/" + server;
    RunUnix({"/bin/mkdir", "-p", serverFolder});
    RunUnix({"/bin/ln", "-sfn", UnixPathOf(windowsFolder), serverFolder + "/" + share});
}

void UnmapShare(const std::string& server, const std::string& share)
{
    RunUnix({"/bin/rm", "-f", WinePrefix() + "/dosdevices/unc/" + server + "/" + share});
}

ScratchFolder::ScratchFolder(const std::string& name) : path_("C:\\qztest\\" + name)
{
    RemoveTree(path_);
    MakeDirectories(path_);
}

ScratchFolder::~ScratchFolder()
{
    RemoveTree(path_);
}

std::string ScratchFolder::operator/(const std::string& relative) const
{
    return path_ + "\\" + relative;
}

void RemoveTree(const std::string& windowsPath)
{
    const std::string unixPath = UnixPathOf(windowsPath);
    if (!unixPath.empty() && unixPath != "/")
        RunUnix({"/bin/rm", "-rf", unixPath});
}

void MakeDirectories(const std::string& windowsPath)
{
    for (std::size_t i = 3; i <= windowsPath.size(); ++i) {
        if (i == windowsPath.size() || windowsPath[i] == '\\')
            CreateDirectoryA(windowsPath.substr(0, i).c_str(), nullptr);
    }
}

void WriteFileText(const std::string& windowsPath, const std::string& content)
{
    const std::size_t slash = windowsPath.find_last_of('\\');
    if (slash != std::string::npos)
        MakeDirectories(windowsPath.substr(0, slash));
    std::ofstream file(windowsPath, std::ios::binary | std::ios::trunc);
    file << content;
}

std::string ReadFileText(const std::string& windowsPath)
{
    std::ifstream file(windowsPath, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

bool Exists(const std::string& windowsPath)
{
    return GetFileAttributesA(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void SetAttributes(const std::string& windowsPath, unsigned long attributes)
{
    SetFileAttributesA(windowsPath.c_str(), attributes);
}

void SetRegistryString(bool localMachine, const std::string& key, const std::string& value,
                       const std::string& data)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExA(Root(localMachine), key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(handle, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>(data.size() + 1));
    RegCloseKey(handle);
}

void DeleteRegistryTree(bool localMachine, const std::string& key)
{
    RegDeleteTreeA(Root(localMachine), key.c_str());
    RegDeleteKeyA(Root(localMachine), key.c_str());
}

SavedRegistryValue SaveRegistryValue(bool localMachine, const std::string& key, const std::string& value)
{
    SavedRegistryValue saved;
    HKEY handle = nullptr;
    if (RegOpenKeyExA(Root(localMachine), key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return saved;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(handle, value.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        saved.data.assign(size, '\0');
        if (RegQueryValueExA(handle, value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&saved.data[0]),
                             &size) == ERROR_SUCCESS) {
            saved.existed = true;
            saved.type = type;
            saved.data.resize(size);
        }
    }
    RegCloseKey(handle);
    return saved;
}

void RestoreRegistryValue(bool localMachine, const std::string& key, const std::string& value,
                          const SavedRegistryValue& saved)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExA(Root(localMachine), key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return;
    if (saved.existed)
        RegSetValueExA(handle, value.c_str(), 0, saved.type, reinterpret_cast<const BYTE*>(saved.data.data()),
                       static_cast<DWORD>(saved.data.size()));
    else
        RegDeleteValueA(handle, value.c_str());
    RegCloseKey(handle);
}

std::string WindowsDir()
{
    char buffer[MAX_PATH] = {};
    GetWindowsDirectoryA(buffer, MAX_PATH);
    return buffer;
}

std::string ConfigFilePath()
{
    return WindowsDir() + "\\qzkeepset.ini";
}

void RemoveConfigFile()
{
    // Flush Wine's cached copy of the profile before the file goes away.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "qzkeepset.ini");
    DeleteFileA(ConfigFilePath().c_str());
}

std::vector<std::string> ReadLines(const std::string& windowsPath)
{
    std::vector<std::string> lines;
    std::istringstream content(ReadFileText(windowsPath));
    std::string line;
    while (std::getline(content, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace qztest
