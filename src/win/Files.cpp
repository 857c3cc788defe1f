#include "win/Files.h"

#include "win/InjectedFailure.h"

#include <windows.h>
#include <direct.h>
#include <io.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace win {
namespace {

FoundEntry ToEntry(const WIN32_FIND_DATAA& data)
{
    FoundEntry entry;
    entry.name = data.cFileName;
    entry.attributes = data.dwFileAttributes;
    entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return entry;
}

}  // namespace

DirectorySearch::DirectorySearch(const std::string& pattern)
    : handle_(INVALID_HANDLE_VALUE), firstPending_(false)
{
    if (InjectedFailure(Op::FindFirst))
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
    if (InjectedFailure(Op::FindNext) || !FindNextFileA(static_cast<HANDLE>(handle_), &data)) {
        FindClose(static_cast<HANDLE>(handle_));
        handle_ = INVALID_HANDLE_VALUE;
        return false;
    }
    entry = ToEntry(data);
    return true;
}

bool CopyFileReplacing(const std::string& source, const std::string& target)
{
    if (InjectedFailure(Op::FileCopy))
        return false;
    return CopyFileA(source.c_str(), target.c_str(), FALSE) != 0;
}

bool CreateOneDirectory(const std::string& path)
{
    if (InjectedFailure(Op::DirectoryCreate))
        return false;
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool RemoveFile(const std::string& path)
{
    if (InjectedFailure(Op::FileDelete))
        return false;
    return DeleteFileA(path.c_str()) != 0;
}

bool RemoveEmptyDirectory(const std::string& path)
{
    if (InjectedFailure(Op::DirectoryRemove))
        return false;
    return RemoveDirectoryA(path.c_str()) != 0;
}

unsigned long FileAttributes(const std::string& path)
{
    if (InjectedFailure(Op::GetAttributes))
        return kInvalidAttributes;
    return GetFileAttributesA(path.c_str());
}

bool SetFileAttributesTo(const std::string& path, unsigned long attributes)
{
    if (InjectedFailure(Op::SetAttributes))
        return false;
    return SetFileAttributesA(path.c_str(), attributes) != 0;
}

bool EntryExists(const std::string& path)
{
    if (InjectedFailure(Op::Access))
        return false;
    return _access(path.c_str(), 0) == 0;
}

std::string WindowsDirectory(std::size_t usableLength)
{
    if (InjectedFailure(Op::WindowsDirectory))
        return std::string();
    std::vector<char> buffer(usableLength + 1, '\0');
    const UINT length = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length == 0 || length >= buffer.size())
        return std::string();  // does not fit: no usable directory
    return std::string(buffer.data(), length);
}

std::string CurrentDirectory()
{
    if (InjectedFailure(Op::CurrentDirectory))
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
    if (InjectedFailure(Op::ChangeDirectory))
        return false;
    return SetCurrentDirectoryA(path.c_str()) != 0;
}

std::FILE* OpenForAppend(const std::string& path)
{
    if (InjectedFailure(Op::OpenFile))
        return nullptr;
    return std::fopen(path.c_str(), "a+");
}

bool LogicalDriveStrings(std::vector<std::string>& drives)
{
    drives.clear();
    if (InjectedFailure(Op::LogicalDrives))
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

bool MoveReplacing(const std::string& source, const std::string& target)
{
    if (InjectedFailure(Op::FileMove))
        return false;
    return MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool FileSize(const std::string& path, std::uint64_t& size)
{
    if (InjectedFailure(Op::GetAttributes))
        return false;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& content)
{
    content.clear();
    if (InjectedFailure(Op::FileRead))
        return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    char buffer[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        content.append(buffer, got);
    }
    const DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return ok;
}

bool WriteWholeFile(const std::string& path, const std::string& content)
{
    if (InjectedFailure(Op::FileWrite))
        return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < content.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 20));
        DWORD written = 0;
        ok = WriteFile(file, content.data() + done, chunk, &written, nullptr) != 0 && written == chunk;
        done += written;
    }
    ok = ok && FlushFileBuffers(file) != 0;
    const DWORD error = GetLastError();
    ok = CloseHandle(file) != 0 && ok;
    if (!ok)
        SetLastError(error);
    return ok;
}

unsigned long LastError()
{
    return GetLastError();
}

}  // namespace win
