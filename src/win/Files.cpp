#include "win/Files.h"

#include "win/CallCounter.h"

#include <windows.h>
#include <direct.h>
#include <io.h>

#include <cstring>
#include <vector>

namespace win {
namespace {

// Counts the call; when a test armed a failure for it, sets that error code
// and returns true.
bool Injected(Op op)
{
    unsigned long code = 0;
    if (!InterceptCall(op, code))
        return false;
    SetLastError(code);
    return true;
}

FoundEntry ToEntry(const WIN32_FIND_DATAA& data)
{
    FoundEntry entry;
    entry.name = data.cFileName;
    entry.attributes = data.dwFileAttributes;
    return entry;
}

}  // namespace

DirectorySearch::DirectorySearch(const std::string& pattern)
    : handle_(INVALID_HANDLE_VALUE), firstPending_(false)
{
    if (Injected(Op::FindFirst))
        return;
    WIN32_FIND_DATAA data;
    HANDLE found = FindFirstFileA(pattern.c_str(), &data);
    if (found == INVALID_HANDLE_VALUE)
        return;
    handle_ = found;
    first_ = ToEntry(data);
    firstPending_ = true;
}

DirectorySearch::~DirectorySearch()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        FindClose(static_cast<HANDLE>(handle_));
}

bool DirectorySearch::Next(FoundEntry& entry)
{
    if (handle_ == INVALID_HANDLE_VALUE)
        return false;
    if (firstPending_) {
        firstPending_ = false;
        entry = first_;
        return true;
    }
    WIN32_FIND_DATAA data;
    if (Injected(Op::FindNext) || !FindNextFileA(static_cast<HANDLE>(handle_), &data)) {
        FindClose(static_cast<HANDLE>(handle_));
        handle_ = INVALID_HANDLE_VALUE;
        return false;
    }
    entry = ToEntry(data);
    return true;
}

bool CopyFileReplacing(const std::string& source, const std::string& target)
{
    if (Injected(Op::FileCopy))
        return false;
    return CopyFileA(source.c_str(), target.c_str(), FALSE) != 0;
}

bool CreateOneDirectory(const std::string& path)
{
    if (Injected(Op::DirectoryCreate))
        return false;
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool RemoveFile(const std::string& path)
{
    if (Injected(Op::FileDelete))
        return false;
    return DeleteFileA(path.c_str()) != 0;
}

unsigned long FileAttributes(const std::string& path)
{
    if (Injected(Op::GetAttributes))
        return kInvalidAttributes;
    return GetFileAttributesA(path.c_str());
}

bool SetFileAttributesTo(const std::string& path, unsigned long attributes)
{
    if (Injected(Op::SetAttributes))
        return false;
    return SetFileAttributesA(path.c_str(), attributes) != 0;
}

bool EntryExists(const std::string& path)
{
    if (Injected(Op::Access))
        return false;
    return _access(path.c_str(), 0) == 0;
}

std::string WindowsDirectory(std::size_t usableLength)
{
    if (Injected(Op::WindowsDirectory))
        return std::string();
    std::vector<char> buffer(usableLength + 1, '\0');
    const UINT length = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length == 0 || length >= buffer.size())
        return std::string();  // does not fit: no usable directory
    return std::string(buffer.data(), length);
}

std::string CurrentDirectory()
{
    if (Injected(Op::CurrentDirectory))
        return std::string();
    std::vector<char> buffer(MAX_PATH + 1, '\0');
    DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length >= buffer.size()) {
        buffer.assign(length + 1, '\0');
        length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    }
    if (length == 0 || length >= buffer.size())
        return std::string();
    return std::string(buffer.data(), length);
}

bool ChangeDirectory(const std::string& path)
{
    if (Injected(Op::ChangeDirectory))
        return false;
    return SetCurrentDirectoryA(path.c_str()) != 0;
}

std::FILE* OpenForAppend(const std::string& path)
{
    if (Injected(Op::OpenFile))
        return nullptr;
    return std::fopen(path.c_str(), "a+");
}

bool LogicalDriveStrings(std::vector<std::string>& drives)
{
    drives.clear();
    if (Injected(Op::LogicalDrives))
        return false;
    char buffer[128];
    const DWORD length = GetLogicalDriveStringsA(sizeof buffer, buffer);
    if (length == 0 || length >= sizeof buffer)
        return false;
    // NUL-separated roots, ended by an empty one.
    for (const char* root = buffer; *root != '\0' && root < buffer + length; root += std::strlen(root) + 1)
        drives.emplace_back(root);
    return true;
}

unsigned long LastError()
{
    return GetLastError();
}

}  // namespace win
