#include "win/SharedMutex.h"

#include "win/InjectedFailure.h"
#include "win/WideNames.h"

#include <windows.h>
#include <sddl.h>

namespace win {
namespace {

constexpr wchar_t kGlobalPrefix[] = L"Global\\";

// "D:P(A;;GA;;;SY)(A;;GA;;;BA)(A;;GA;;;<user>)": all access for the system
// account, the administrators and the process's user, nothing inherited.
std::wstring AccessListText()
{
    std::wstring text = L"D:P(A;;GA;;;SY)(A;;GA;;;BA)";
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return text;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::wstring user;
    if (size != 0) {
        std::string buffer(size, '\0');
        wchar_t* sid = nullptr;
        if (GetTokenInformation(token, TokenUser, &buffer[0], size, &size) &&
            ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(&buffer[0])->User.Sid, &sid)) {
            user = sid;
            LocalFree(sid);
        }
    }
    CloseHandle(token);
    if (!user.empty())
        text += L"(A;;GA;;;" + user + L")";
    return text;
}

// Creates the mutex or opens the one there. Null with the system's error
// when neither works.
HANDLE CreateOrOpen(const std::wstring& name, SECURITY_ATTRIBUTES* attributes, bool& existed)
{
    HANDLE handle = CreateMutexW(attributes, FALSE, name.c_str());
    if (handle != nullptr) {
        existed = GetLastError() == ERROR_ALREADY_EXISTS;
        return handle;
    }
    if (GetLastError() != ERROR_ACCESS_DENIED)
        return nullptr;
    // Denied: either the mutex is there with less access for this process,
    // or no global object may be made here.
    handle = OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str());
    existed = handle != nullptr;
    return handle;
}

// Creates the mutex or opens the one there, in the global namespace or,
// where this process may not make global objects, in the session's own.
// Null with the system's error when none of it works.
HANDLE CreateOrOpenShared(const std::string& name, bool& existed)
{
    std::wstring wide;
    if (!ToWidePath(name, wide))
        return nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    SECURITY_ATTRIBUTES attributes = {};
    attributes.nLength = sizeof attributes;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorW(AccessListText().c_str(), SDDL_REVISION_1, &descriptor,
                                                             nullptr))
        attributes.lpSecurityDescriptor = descriptor;
    HANDLE handle = CreateOrOpen(wide, &attributes, existed);
    // Not there, and not to be made globally by this process: the
    // session's own namespace.
    if (handle == nullptr && GetLastError() == ERROR_FILE_NOT_FOUND && wide.rfind(kGlobalPrefix, 0) == 0)
        handle = CreateOrOpen(L"Local\\" + wide.substr(wcslen(kGlobalPrefix)), &attributes, existed);
    const DWORD error = GetLastError();
    if (descriptor != nullptr)
        LocalFree(descriptor);
    SetLastError(error);
    return handle;
}

}  // namespace

// An injected failure takes the same way as a real one, so that tests see
// the policy for a mutex that could not be made or opened.
SharedMutex::SharedMutex(const std::string& name)
{
    bool existed = true;
    HANDLE handle = InjectedFailure(Op::MutexCreate) ? nullptr : CreateOrOpenShared(name, existed);
    handle_ = handle;
    // There but closed to this process, or not made: taken.
    existedBefore_ = handle == nullptr || existed;
}

SharedMutex::~SharedMutex()
{
    if (handle_ != nullptr)
        CloseHandle(static_cast<HANDLE>(handle_));
}

bool SharedMutex::Lock(unsigned long milliseconds)
{
    if (InjectedFailure(Op::MutexWait))
        return false;
    if (handle_ == nullptr) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    const DWORD waited = WaitForSingleObject(static_cast<HANDLE>(handle_), milliseconds);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
        return true;
    if (waited == WAIT_TIMEOUT)
        SetLastError(ERROR_TIMEOUT);
    return false;
}

void SharedMutex::Unlock()
{
    if (handle_ != nullptr)
        ReleaseMutex(static_cast<HANDLE>(handle_));
}

}  // namespace win
