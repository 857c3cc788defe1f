#include "win/TemporaryFiles.h"

#include "win/InjectedFailure.h"
#include "win/WideNames.h"

#include <windows.h>

#include <atomic>
#include <vector>

namespace win {
namespace {

// A security descriptor whose access list grants the process's user all
// access to the file and nobody else any, protected from the entries the
// temporary directory would hand down. For a folder, the entry is handed
// down to what is made in it.
class OwnerOnlySecurity {
public:
    bool Build(bool forFolder = false)
    {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
            return false;
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        user_.assign(size, 0);
        const bool haveUser =
            size != 0 && GetTokenInformation(token, TokenUser, user_.data(), size, &size) != 0;
        CloseHandle(token);
        if (!haveUser)
            return false;
        PSID sid = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
        const DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(sid);
        acl_.assign(aclSize, 0);
        PACL acl = reinterpret_cast<PACL>(acl_.data());
        return InitializeAcl(acl, aclSize, ACL_REVISION) &&
               AddAccessAllowedAceEx(acl, ACL_REVISION,
                                     forFolder ? OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE : 0, FILE_ALL_ACCESS,
                                     sid) &&
               InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
               SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) &&
               SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    }

    SECURITY_ATTRIBUTES Attributes()
    {
        SECURITY_ATTRIBUTES attributes = {};
        attributes.nLength = sizeof attributes;
        attributes.lpSecurityDescriptor = &descriptor_;
        attributes.bInheritHandle = FALSE;
        return attributes;
    }

private:
    std::vector<BYTE> user_;
    std::vector<BYTE> acl_;
    SECURITY_DESCRIPTOR descriptor_ = {};
};

std::atomic<unsigned long> temporaryNameNumber{0};

// A name nobody else holds: the process id and a number of this process.
// What the program makes under it is made new, so a name another has taken
// meanwhile is only passed over.
std::wstring NextName(const std::wstring& directory, const std::string& prefix, const std::string& extension)
{
    std::wstring name;
    if (!ToWidePath(prefix + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++temporaryNameNumber) +
                        extension,
                    name))
        return std::wstring();
    return directory + name;
}

std::wstring WideTemporaryDirectory()
{
    std::vector<wchar_t> directory(MAX_PATH + 2);
    for (;;) {
        const DWORD length = GetTempPathW(static_cast<DWORD>(directory.size()), directory.data());
        if (length == 0)
            return std::wstring();
        if (length < directory.size())
            return std::wstring(directory.data(), length);
        directory.resize(length + 1);
    }
}

constexpr int kNameAttempts = 100;

}  // namespace

std::string TemporaryDirectory()
{
    if (InjectedFailure(Op::TemporaryPath))
        return std::string();
    return FromWide(WideTemporaryDirectory());
}

bool CreateTemporaryFolder(const std::string& prefix, std::string& path)
{
    path.clear();
    if (InjectedFailure(Op::DirectoryCreate))
        return false;
    const std::wstring directory = WideTemporaryDirectory();
    if (directory.empty())
        return false;
    // Open to the current user alone, as the option files are: what the
    // program puts in it cannot be changed by another between its check and
    // its use.
    OwnerOnlySecurity security;
    if (!security.Build(true))
        return false;
    SECURITY_ATTRIBUTES attributes = security.Attributes();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::wstring name = NextName(directory, prefix, "");
        if (name.empty())
            return false;
        if (CreateDirectoryW(name.c_str(), &attributes)) {
            path = FromWide(name);
            return true;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    return false;
}

bool WritePrivateTemporaryFile(const std::string& prefix, const std::string& extension, const std::string& content,
                               std::string& path)
{
    path.clear();
    if (InjectedFailure(Op::FileWrite))
        return false;
    const std::wstring directory = WideTemporaryDirectory();
    if (directory.empty())
        return false;
    OwnerOnlySecurity security;
    if (!security.Build())
        return false;
    SECURITY_ATTRIBUTES attributes = security.Attributes();
    HANDLE file = INVALID_HANDLE_VALUE;
    std::wstring name;
    for (int attempt = 0; attempt < kNameAttempts && file == INVALID_HANDLE_VALUE; ++attempt) {
        name = NextName(directory, prefix, extension);
        if (name.empty())
            return false;
        // CREATE_NEW never opens a file, or follows a link, already there.
        file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, &attributes, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY,
                           nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) != 0 &&
              written == content.size();
    DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    if (!CloseHandle(file) && ok) {
        ok = false;
        error = GetLastError();
    }
    if (!ok) {
        DeleteFileW(name.c_str());
        SetLastError(error);
        return false;
    }
    path = FromWide(name);
    return true;
}

bool CreateNewFile(const std::string& path)
{
    if (InjectedFailure(Op::FileWrite))
        return false;
    std::wstring wide;
    if (!ToWidePath(path, wide))
        return false;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

}  // namespace win
