// Starting programs and learning how they ended; the private temporary file
// that carries a password to one of them.
#include "support/WineHost.h"
#include "win/CallCounter.h"
#include "win/Files.h"
#include "win/Process.h"
#include "win/TemporaryFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

TEST(RunProgramAndWait, AnUnknownEndIsAFailureOfAProgramThatStarted)
{
    win::ResetCalls();
    unsigned long exitCode = 0;
    bool started = false;
    EXPECT_TRUE(win::RunProgramAndWait("cmd.exe /c exit 3", win::kShowHidden, exitCode, started));
    EXPECT_TRUE(started);
    EXPECT_EQ(exitCode, 3u);

    win::FailCall(win::Op::ProcessWait, 1, ERROR_INVALID_HANDLE);
    EXPECT_FALSE(win::RunProgramAndWait("cmd.exe /c exit 0", win::kShowHidden, exitCode, started));
    EXPECT_TRUE(started);
    EXPECT_EQ(win::LastError(), static_cast<unsigned long>(ERROR_INVALID_HANDLE));

    win::FailCall(win::Op::ProcessRun, 1, ERROR_ACCESS_DENIED);
    EXPECT_FALSE(win::RunProgramAndWait("cmd.exe /c exit 0", win::kShowHidden, exitCode, started));
    EXPECT_FALSE(started);
    EXPECT_FALSE(win::RunProgramAndWait("qz-no-such-program.exe", win::kShowHidden, exitCode, started));
    EXPECT_FALSE(started);
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 4u);
    EXPECT_EQ(win::CallCount(win::Op::ProcessWait), 2u);
    win::ResetCalls();
}

// The program reads the given file as its standard input and writes into a
// new file, which a second run may not reuse.
TEST(RunProgramWithFiles, StandardInputFromAFileOutputIntoANewOne)
{
    win::ResetCalls();
    qztest::ScratchFolder folder("program-files");
    qztest::WriteFileText(folder / "input.txt", "echo from the input\r\nexit 7\r\n");
    unsigned long exitCode = 0;
    bool started = false;
    ASSERT_TRUE(win::RunProgramWithFiles("cmd.exe", folder / "input.txt", folder / "output.txt", win::kShowHidden,
                                         exitCode, started));
    EXPECT_EQ(exitCode, 7u);
    EXPECT_NE(qztest::ReadFileText(folder / "output.txt").find("from the input"), std::string::npos);

    EXPECT_FALSE(win::RunProgramWithFiles("cmd.exe /c exit 0", std::string(), folder / "output.txt",
                                          win::kShowHidden, exitCode, started));
    EXPECT_FALSE(started);
    EXPECT_FALSE(win::RunProgramWithFiles("cmd.exe /c exit 0", folder / "missing.txt", folder / "other.txt",
                                          win::kShowHidden, exitCode, started));
    EXPECT_FALSE(started);
    EXPECT_TRUE(win::RunProgramWithFiles("cmd.exe /c exit 0", std::string(), std::string(), win::kShowHidden,
                                         exitCode, started));
    win::FailCall(win::Op::ProcessWait, 1, ERROR_INVALID_HANDLE);
    EXPECT_FALSE(win::RunProgramWithFiles("cmd.exe /c exit 0", std::string(), std::string(), win::kShowHidden,
                                          exitCode, started));
    EXPECT_TRUE(started);
    EXPECT_EQ(win::CallCount(win::Op::ProcessRun), 5u);
    win::ResetCalls();
}

namespace {

std::vector<BYTE> CurrentUserSid()
{
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    GetTokenInformation(token, TokenUser, user.data(), size, &size);
    CloseHandle(token);
    PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    const BYTE* bytes = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(bytes, bytes + GetLengthSid(sid));
}

}  // namespace

TEST(PrivateTemporaryFile, AFreshNameInTheTemporaryDirectoryEachTime)
{
    win::ResetCalls();
    std::string path;
    std::string other;
    ASSERT_TRUE(win::WritePrivateTemporaryFile("qztest-", ".cnf", "[client]\npassword=\"x\"\n", path));
    ASSERT_TRUE(win::WritePrivateTemporaryFile("qztest-", ".cnf", "", other));
    EXPECT_NE(path, other);
    char temporary[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temporary, temporary);
    EXPECT_EQ(path.find(temporary), 0u);
    EXPECT_EQ(qztest::ReadFileText(path), "[client]\npassword=\"x\"\n");
    EXPECT_TRUE(win::RemoveFile(path));
    EXPECT_TRUE(win::RemoveFile(other));

    win::FailCall(win::Op::FileWrite, 1, ERROR_DISK_FULL);
    EXPECT_FALSE(win::WritePrivateTemporaryFile("qztest-", ".cnf", "secret", path));
    EXPECT_TRUE(path.empty());
    EXPECT_EQ(win::CallCount(win::Op::FileWrite), 3u);

    // A name already taken is passed over, whatever holds it.
    const std::string next = std::string(temporary) + "qztest-" + std::to_string(GetCurrentProcessId()) + "-";
    std::string folder;
    ASSERT_TRUE(win::CreateTemporaryFolder("qztest-", folder));
    const std::string planted = folder.substr(0, folder.rfind('-') + 1) +
                                std::to_string(std::stoul(folder.substr(folder.rfind('-') + 1)) + 1) + ".cnf";
    qztest::WriteFileText(planted, "planted");
    ASSERT_TRUE(win::WritePrivateTemporaryFile("qztest-", ".cnf", "mine", path));
    EXPECT_NE(path, planted);
    EXPECT_EQ(path.find(next), 0u) << path;
    EXPECT_EQ(qztest::ReadFileText(planted), "planted");
    EXPECT_TRUE(win::RemoveFile(path));
    EXPECT_TRUE(win::RemoveFile(planted));
    EXPECT_TRUE(win::RemoveEmptyDirectory(folder));
    win::ResetCalls();
}

// The access list as the system keeps it: one entry, allowing the current
// user, inheriting nothing. Wine cannot show this: it does not keep the
// descriptor given at creation but derives one from the Unix mode bits
// (SYSTEM and the user, both with full access), and the file's mode follows
// the process's umask (0750 measured), so on Wine the test is skipped.
TEST(PrivateTemporaryFile, OnlyTheCurrentUserMayOpenIt)
{
    std::string path;
    ASSERT_TRUE(win::WritePrivateTemporaryFile("qztest-", ".cnf", "secret", path));
    DWORD size = 0;
    GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<BYTE> descriptor(size);
    const bool read = GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size);
    win::RemoveFile(path);
    ASSERT_TRUE(read);
    if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr)
        GTEST_SKIP() << "Wine derives a file's access list from its Unix mode bits";

    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL acl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor.data(), &present, &acl, &defaulted));
    ASSERT_TRUE(present);
    ASSERT_NE(acl, nullptr);
    ASSERT_EQ(acl->AceCount, 1u);
    void* ace = nullptr;
    ASSERT_TRUE(GetAce(acl, 0, &ace));
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    const std::vector<BYTE> user = CurrentUserSid();
    EXPECT_TRUE(EqualSid(&allowed->SidStart, const_cast<BYTE*>(user.data())));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor.data(), &control, &revision));
    EXPECT_NE(control & SE_DACL_PROTECTED, 0);
}
