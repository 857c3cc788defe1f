#include "win/Files.h"

#include "win/InjectedFailure.h"
#include "win/NewFiles.h"
#include "win/ReadChunks.h"
#include "win/WideNames.h"

#include <windows.h>
#include <direct.h>

#include <algorithm>
#include <functional>
#include <atomic>
#include <cstring>
#include <vector>

namespace win {
namespace {

FoundEntry ToEntry(const WIN32_FIND_DATAW& data, NameForm form)
{
    FoundEntry entry;
    const std::wstring name = data.cFileName;
    // Shown: the form the ANSI search gives, "?" for what the code page has
    // nothing for.
    entry.name = form == NameForm::Exact ? FromWide(name) : ShownText(FromWide(name));
    entry.attributes = data.dwFileAttributes;
    entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return entry;
}

}  // namespace

DirectorySearch::DirectorySearch(const std::string& pattern, NameForm form)
    : handle_(INVALID_HANDLE_VALUE), form_(form), firstPending_(false), error_(0)
{
    if (InjectedFailure(Op::FindFirst)) {
        Stop(GetLastError());
        return;
    }
    std::wstring widePattern;
    if (!ToWidePath(pattern, widePattern)) {
        Stop(GetLastError());
        return;
    }
    WIN32_FIND_DATAW data;
    HANDLE found = FindFirstFileW(widePattern.c_str(), &data);
    if (found == INVALID_HANDLE_VALUE) {
        Stop(GetLastError());
        return;
    }
    handle_ = found;
    first_ = ToEntry(data, form_);
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
    WIN32_FIND_DATAW data;
    if (InjectedFailure(Op::FindNext) || !FindNextFileW(static_cast<HANDLE>(handle_), &data)) {
        Stop(GetLastError());
        return false;
    }
    entry = ToEntry(data, form_);
    return true;
}

void DirectorySearch::Stop(unsigned long error)
{
    if (handle_ != INVALID_HANDLE_VALUE) {
        FindClose(static_cast<HANDLE>(handle_));
        handle_ = INVALID_HANDLE_VALUE;
    }
    firstPending_ = false;
    const bool none = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_NO_MORE_FILES;
    error_ = none ? 0 : error;
    // A failure with no code of its own still counts as one.
    if (!none && error_ == 0)
        error_ = ERROR_GEN_FAILURE;
}

bool CopyFileReplacing(const std::string& source, const std::string& target)
{
    bool torn = false;
    if (const unsigned long injected = InjectedFailureCode(Op::FileCopy, torn)) {
        if (torn)
            WriteFirstHalfOf(source, target);
        SetLastError(injected);
        return false;
    }
    std::wstring wideSource;
    std::wstring wideTarget;
    return ToWidePath(source, wideSource) && ToWidePath(target, wideTarget) &&
           CopyFileW(wideSource.c_str(), wideTarget.c_str(), FALSE) != 0;
}

bool CreateOneDirectory(const std::string& path)
{
    if (InjectedFailure(Op::DirectoryCreate))
        return false;
    std::wstring wide;
    return ToWidePath(path, wide) && CreateDirectoryW(wide.c_str(), nullptr) != 0;
}

bool RemoveFile(const std::string& path)
{
    if (InjectedFailure(Op::FileDelete))
        return false;
    std::wstring wide;
    return ToWidePath(path, wide) && DeleteFileW(wide.c_str()) != 0;
}

bool RemoveEmptyDirectory(const std::string& path)
{
    if (InjectedFailure(Op::DirectoryRemove))
        return false;
    std::wstring wide;
    return ToWidePath(path, wide) && RemoveDirectoryW(wide.c_str()) != 0;
}

unsigned long FileAttributes(const std::string& path)
{
    if (InjectedFailure(Op::GetAttributes))
        return kInvalidAttributes;
    std::wstring wide;
    return ToWidePath(path, wide) ? GetFileAttributesW(wide.c_str()) : kInvalidAttributes;
}

bool SetFileAttributesTo(const std::string& path, unsigned long attributes)
{
    if (InjectedFailure(Op::SetAttributes))
        return false;
    std::wstring wide;
    return ToWidePath(path, wide) && SetFileAttributesW(wide.c_str(), attributes) != 0;
}

bool EntryExists(const std::string& path)
{
    if (InjectedFailure(Op::Access))
        return false;
    // The system's own call rather than _access, whose errno cannot tell a
    // missing entry from one the system could not look at.
    std::wstring wide;
    return ToWidePath(path, wide) && GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES;
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
    std::vector<wchar_t> buffer(MAX_PATH + 1, L'\0');
    DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length >= buffer.size()) {
        buffer.assign(length + 1, L'\0');
        length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    }
    if (length == 0 || length >= buffer.size())
        return std::string();
    return FromWide(buffer.data(), length);
}

bool ChangeDirectory(const std::string& path)
{
    if (InjectedFailure(Op::ChangeDirectory))
        return false;
    std::wstring wide;
    return ToWidePath(path, wide) && SetCurrentDirectoryW(wide.c_str()) != 0;
}

std::FILE* OpenForAppend(const std::string& path)
{
    if (InjectedFailure(Op::OpenFile))
        return nullptr;
    std::wstring wide;
    return ToWidePath(path, wide) ? _wfopen(wide.c_str(), L"a+") : nullptr;
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
    std::wstring wideSource;
    std::wstring wideTarget;
    return ToWidePath(source, wideSource) && ToWidePath(target, wideTarget) &&
           MoveFileExW(wideSource.c_str(), wideTarget.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool FileSize(const std::string& path, std::uint64_t& size)
{
    if (InjectedFailure(Op::GetAttributes))
        return false;
    std::wstring wide;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!ToWidePath(path, wide) || !GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

bool ReadFileInChunks(const std::string& path, const std::function<bool(const unsigned char*, unsigned long)>& consume)
{
    std::wstring wide;
    if (!ToWidePath(path, wide))
        return false;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    static thread_local std::vector<unsigned char> buffer(1 << 20);
    bool ok = true;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        if (!consume(buffer.data(), got)) {
            if (GetLastError() == ERROR_SUCCESS)
                SetLastError(ERROR_INVALID_DATA);
            ok = false;
            break;
        }
    }
    const DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return ok;
}

bool ReadWholeFile(const std::string& path, std::string& content)
{
    content.clear();
    if (InjectedFailure(Op::FileRead))
        return false;
    return ReadFileInChunks(path, [&content](const unsigned char* data, unsigned long length) {
        content.append(reinterpret_cast<const char*>(data), length);
        return true;
    });
}

bool WriteWholeFile(const std::string& path, const std::string& content)
{
    bool torn = false;
    const unsigned long injected = InjectedFailureCode(Op::FileWrite, torn);
    if (injected != 0 && !torn) {
        SetLastError(injected);
        return false;
    }
    std::wstring wide;
    if (!ToWidePath(path, wide))
        return false;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    std::size_t done = 0;
    const std::size_t size = torn ? content.size() / 2 : content.size();
    while (ok && done < size) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 20));
        DWORD written = 0;
        ok = WriteFile(file, content.data() + done, chunk, &written, nullptr) != 0 && written == chunk;
        done += written;
    }
    ok = ok && !torn && FlushFileBuffers(file) != 0;
    const DWORD error = torn ? injected : GetLastError();
    ok = CloseHandle(file) != 0 && ok;
    if (!ok)
        SetLastError(error);
    return ok;
}

bool FlushFileToDisk(const std::string& path)
{
    if (InjectedFailure(Op::FileWrite))
        return false;
    std::wstring wide;
    if (!ToWidePath(path, wide))
        return false;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = FlushFileBuffers(file) != 0;
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!ok)
        SetLastError(error);
    return ok;
}

bool LastErrorIsNotFound()
{
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

unsigned long LastError()
{
    return GetLastError();
}

}  // namespace win
