#include "win/EntryIdentity.h"

#include "win/InjectedFailure.h"
#include "win/WideNames.h"

#include <windows.h>

#include <cstdio>

namespace win {

bool ExamineEntry(const std::string& path, EntryIdentity& identity)
{
    identity = EntryIdentity();
    if (InjectedFailure(Op::OpenFile))
        return false;
    std::wstring wide;
    if (!ToWidePath(path, wide))
        return false;
    // No access to the content: neither a sharing mode nor a lock of
    // another program keeps the entry from being looked at.
    const HANDLE entry =
        CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (entry == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION information;
    const bool read = GetFileInformationByHandle(entry, &information) != 0;
    const DWORD error = GetLastError();
    CloseHandle(entry);
    if (!read) {
        SetLastError(error);
        return false;
    }
    identity.volumeSerial = information.dwVolumeSerialNumber;
    identity.fileIndex = (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    identity.attributes = information.dwFileAttributes;
    return true;
}

bool CreateUniqueDirectory(const std::string& parent, const std::string& prefix, std::string& made)
{
    made.clear();
    constexpr int kTries = 8;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (InjectedFailure(Op::DirectoryCreate))
            return false;
        char suffix[64];
        std::snprintf(suffix, sizeof suffix, "%lx-%llx-%d.tmp", static_cast<unsigned long>(GetCurrentProcessId()),
                      static_cast<unsigned long long>(GetTickCount64()), attempt);
        const std::string path = parent + "\\" + prefix + suffix;
        std::wstring wide;
        if (!ToWidePath(path, wide))
            return false;
        if (CreateDirectoryW(wide.c_str(), nullptr)) {
            made = path;
            return true;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

bool CopyFileToNew(const std::string& source, const std::string& target)
{
    if (InjectedFailure(Op::FileCopy))
        return false;
    std::wstring wideSource;
    std::wstring wideTarget;
    return ToWidePath(source, wideSource) && ToWidePath(target, wideTarget) &&
           CopyFileW(wideSource.c_str(), wideTarget.c_str(), TRUE) != 0;
}

}  // namespace win
