#include "win/Registry.h"

#include "win/InjectedFailure.h"
#include "win/WideNames.h"

#include <windows.h>

#include <vector>

namespace win {
namespace {

HKEY RootHandle(RegistryRoot root)
{
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

}  // namespace

RegistryKey::RegistryKey(RegistryRoot root, const std::string& path) : handle_(nullptr)
{
    if (InjectedFailure(Op::RegistryOpen))
        return;
    HKEY key = nullptr;
    if (RegOpenKeyExA(RootHandle(root), path.c_str(), 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS)
        handle_ = key;
}

RegistryKey::~RegistryKey()
{
    if (handle_ != nullptr)
        RegCloseKey(static_cast<HKEY>(handle_));
}

bool RegistryKey::ReadString(const std::string& value, std::size_t maxBytes, std::string& text) const
{
    if (handle_ == nullptr || maxBytes == 0 || InjectedFailure(Op::RegistryQuery))
        return false;
    std::vector<char> buffer(maxBytes + 1, '\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(maxBytes);
    const LONG result = RegQueryValueExA(static_cast<HKEY>(handle_), value.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    // The stored value need not end with a NUL; the spare byte keeps it ended.
    text.assign(buffer.data());
    return true;
}

bool RegistryKey::ReadPath(const std::string& value, std::string& path) const
{
    // The longest path the system knows, terminating NUL included.
    constexpr DWORD kLongestPathBytes = 32768 * sizeof(wchar_t);
    if (handle_ == nullptr || InjectedFailure(Op::RegistryQuery))
        return false;
    std::wstring name;
    if (!ToWidePath(value, name))
        return false;
    const HKEY key = static_cast<HKEY>(handle_);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size > kLongestPathBytes)
        return false;
    // One spare character keeps a value stored without its NUL ended.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    const std::wstring folder(buffer.data());
    path = FromWide(folder);
    return true;
}

bool RegistryKeyExists(RegistryRoot root, const std::string& path)
{
    return RegistryKey(root, path).IsOpen();
}

bool ReadRegistryString(RegistryRoot root, const std::string& path, const std::string& value,
                        std::size_t maxBytes, std::string& text)
{
    RegistryKey key(root, path);
    return key.IsOpen() && key.ReadString(value, maxBytes, text);
}

bool ReadRegistryPath(RegistryRoot root, const std::string& path, const std::string& value, std::string& folder)
{
    RegistryKey key(root, path);
    return key.IsOpen() && key.ReadPath(value, folder);
}

}  // namespace win
