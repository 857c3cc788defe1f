#include "support/WideNames.h"

#include <windows.h>

#include <vector>

namespace qztest {
namespace {

HKEY Root(bool localMachine)
{
    return localMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

std::string ReadWhole(const std::wstring& path)
{
    std::string content;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return content;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        content.append(buffer, got);
    CloseHandle(file);
    return content;
}

void ListTree(const std::wstring& root, const std::wstring& relative, bool recursive,
              std::map<std::string, std::string>& out)
{
    const std::wstring folder = relative.empty() ? root : root + L"\\" + relative;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = relative.empty() ? name : relative + L"\\" + name;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            out[Utf8Of(path)] = ReadWhole(root + L"\\" + path);
        } else if (recursive) {
            out[Utf8Of(path) + "\\"] = "";
            ListTree(root, path, true, out);
        }
    } while (FindNextFileW(search, &data));
    FindClose(search);
}

}  // namespace

std::wstring WideOf(const std::string& utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], length);
    return wide;
}

std::string Utf8Of(const std::wstring& wide)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], length, nullptr, nullptr);
    return utf8;
}

void WriteFileUtf8(const std::string& utf8Path, const std::string& content)
{
    const std::wstring path = WideOf(utf8Path);
    for (std::size_t i = 3; i < path.size(); ++i) {
        if (path[i] == L'\\')
            CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

std::map<std::string, std::string> FilesUtf8(const std::string& utf8Folder)
{
    std::map<std::string, std::string> files;
    ListTree(WideOf(utf8Folder), L"", false, files);
    return files;
}

std::map<std::string, std::string> TreeUtf8(const std::string& utf8Folder)
{
    std::map<std::string, std::string> tree;
    ListTree(WideOf(utf8Folder), L"", true, tree);
    return tree;
}

std::map<std::string, std::string> AnsiNamesIn(const std::string& asciiFolder)
{
    // Both searches list the same folder in the same order.
    std::map<std::string, std::string> names;
    WIN32_FIND_DATAW wide;
    WIN32_FIND_DATAA ansi;
    HANDLE wideSearch = FindFirstFileW(WideOf(asciiFolder + "\\*").c_str(), &wide);
    HANDLE ansiSearch = FindFirstFileA((asciiFolder + "\\*").c_str(), &ansi);
    bool more = wideSearch != INVALID_HANDLE_VALUE && ansiSearch != INVALID_HANDLE_VALUE;
    while (more) {
        names[Utf8Of(wide.cFileName)] = ansi.cFileName;
        more = FindNextFileW(wideSearch, &wide) && FindNextFileA(ansiSearch, &ansi);
    }
    FindClose(wideSearch);
    FindClose(ansiSearch);
    return names;
}

void SetRegistryStringUtf8(bool localMachine, const std::string& key, const std::string& value,
                           const std::string& utf8Data)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExW(Root(localMachine), WideOf(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return;
    const std::wstring data = WideOf(utf8Data);
    RegSetValueExW(handle, WideOf(value).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
}

std::string RegistryStringAnsi(bool localMachine, const std::string& key, const std::string& value)
{
    std::vector<char> buffer(4096, '\0');
    DWORD size = static_cast<DWORD>(buffer.size() - 1);
    RegGetValueA(Root(localMachine), key.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(), &size);
    return buffer.data();
}

}  // namespace qztest
