#include "win/NewFiles.h"

#include "win/Files.h"
#include "win/InjectedFailure.h"
#include "win/WideNames.h"

#include <windows.h>
#include <aclapi.h>

#include <algorithm>
#include <atomic>

namespace win {
namespace {

std::atomic<unsigned long> newFileNumber{0};

// Marks an open file for deletion through its handle, so that what goes is
// the file this process made, whatever the name now stands for.
void DeleteThroughHandle(HANDLE file)
{
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = TRUE;
    SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

bool WriteAll(HANDLE file, const char* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, data + done, chunk, &written, nullptr) || written != chunk)
            return false;
        done += written;
    }
    return true;
}

// The access list of the target onto the replacement, with the target's
// protection from inherited entries.
void CopyAccessList(const std::wstring& target, const std::wstring& replacement)
{
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(target.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    const SECURITY_INFORMATION what = DACL_SECURITY_INFORMATION | ((control & SE_DACL_PROTECTED) != 0
                                                                       ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                       : UNPROTECTED_DACL_SECURITY_INFORMATION);
    SetNamedSecurityInfoW(const_cast<wchar_t*>(replacement.c_str()), SE_FILE_OBJECT, what, nullptr, nullptr, acl,
                          nullptr);
    LocalFree(descriptor);
}

}  // namespace

bool WriteNewFileBeside(const std::string& target, const std::string& content, std::string& created)
{
    created.clear();
    bool torn = false;
    const unsigned long injected = InjectedFailureCode(Op::FileWrite, torn);
    if (injected != 0 && !torn) {
        SetLastError(injected);
        return false;
    }
    HANDLE file = INVALID_HANDLE_VALUE;
    std::string name;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        name = target + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++newFileNumber) + ".tmp";
        std::wstring wide;
        if (!ToWidePath(name, wide))
            return false;
        file = CreateFileW(wide.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
        // Taken by a file (exists) or a folder (access denied): the next
        // number.
        const DWORD error = GetLastError();
        if (file == INVALID_HANDLE_VALUE && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS &&
            error != ERROR_ACCESS_DENIED)
            return false;
    }
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = false;
    if (torn) {
        WriteAll(file, content.data(), content.size() / 2);
        SetLastError(injected);
    } else {
        ok = WriteAll(file, content.data(), content.size()) && FlushFileBuffers(file) != 0;
    }
    DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    if (!ok)
        DeleteThroughHandle(file);
    if (!CloseHandle(file) && ok) {
        ok = false;
        error = GetLastError();
        std::wstring wide;
        if (ToWidePath(name, wide))
            DeleteFileW(wide.c_str());
    }
    if (!ok) {
        SetLastError(error);
        return false;
    }
    created = name;
    return true;
}

bool ReplaceKeepingProtection(const std::string& replacement, const std::string& target)
{
    if (InjectedFailure(Op::FileMove))
        return false;
    std::wstring wideReplacement;
    std::wstring wideTarget;
    if (!ToWidePath(replacement, wideReplacement) || !ToWidePath(target, wideTarget))
        return false;
    const DWORD attributes = GetFileAttributesW(wideTarget.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND)
            return false;
        // Nothing to keep: a move that fails if a file appeared meanwhile.
        return MoveFileExW(wideReplacement.c_str(), wideTarget.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    }
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        SetLastError(ERROR_CANT_ACCESS_FILE);
        return false;
    }
    CopyAccessList(wideTarget, wideReplacement);
    if (!ReplaceFileW(wideTarget.c_str(), wideReplacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                      nullptr, nullptr)) {
        // The old file is gone already and the new one not yet in its
        // place: it is moved there, or the name would stay empty.
        if (GetLastError() != ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
            GetFileAttributesW(wideTarget.c_str()) != INVALID_FILE_ATTRIBUTES ||
            !MoveFileExW(wideReplacement.c_str(), wideTarget.c_str(), MOVEFILE_WRITE_THROUGH))
            return false;
    }
    // The file is replaced; attributes the system did not carry over are
    // put back, and a failure to do so leaves the new content in place.
    const DWORD now = GetFileAttributesW(wideTarget.c_str());
    if (now != INVALID_FILE_ATTRIBUTES && now != attributes)
        SetFileAttributesW(wideTarget.c_str(), attributes);
    SetLastError(ERROR_SUCCESS);
    return true;
}

void WriteFirstHalfOf(const std::string& source, const std::string& target)
{
    std::wstring wideSource;
    std::wstring wideTarget;
    if (!ToWidePath(source, wideSource) || !ToWidePath(target, wideTarget))
        return;
    HANDLE in = CreateFileW(wideSource.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (in == INVALID_HANDLE_VALUE)
        return;
    LARGE_INTEGER size = {};
    std::string half;
    if (GetFileSizeEx(in, &size)) {
        half.resize(static_cast<std::size_t>(size.QuadPart / 2));
        DWORD got = 0;
        if (!half.empty() && !ReadFile(in, &half[0], static_cast<DWORD>(half.size()), &got, nullptr))
            got = 0;
        half.resize(got);
    }
    CloseHandle(in);
    HANDLE out = CreateFileW(wideTarget.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return;
    WriteAll(out, half.data(), half.size());
    CloseHandle(out);
}

}  // namespace win
