#include "Installation.h"

#include "support/DialogTemplate.h"
#include "support/ListedDrive.h"
#include "support/ProfileFiles.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace e2e {
namespace {

const char* const kInstallationKey = "SOFTWARE\\Orvella\\Orvella Tool";
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string BinFolder()
{
    const std::string program = qzauto::WindowsPathOfUnix(QZ_PROGRAM_FILE);
    return program.substr(0, program.rfind('\\'));
}

const char* const kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

SavedValue ReadValue(HKEY root, const char* key, const char* value)
{
    SavedValue saved{root, key, value, REG_NONE, std::string()};
    char data[1024] = "";
    DWORD size = sizeof data;
    if (RegGetValueA(root, key, value, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &saved.type, data,
                     &size) == ERROR_SUCCESS)
        saved.data = data;
    else
        saved.type = REG_NONE;
    return saved;
}

void WriteValue(HKEY root, const std::string& key, const std::string& value, DWORD type, const std::string& data)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return;
    if (type == REG_NONE)
        RegDeleteValueA(handle, value.c_str());
    else
        RegSetValueExA(handle, value.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() + 1));
    RegCloseKey(handle);
}

void RemoveWindowsFile(const std::string& name)
{
    qztest::RemoveProfileFile(qztest::WindowsDir() + "\\" + name);
}

}  // namespace

std::string Today(const char* format)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, format, now.wYear, now.wMonth, now.wDay);
    return text;
}

void Installation::SetUp()
{
    // A program left by a test that was stopped would take every later
    // start for a second copy.
    qzauto::EndProcessesNamed("qzkeepset.exe");
    scratch_ = std::make_unique<qztest::ScratchFolder>("e2e");
    const std::string install = Root() + "\\install";
    qztest::MapListedDrive('Q', install);
    qztest::SetRegistryString(true, kInstallationKey, "Directory", "Q:\\alarm");

    // A few files of every kind a save copies.
    qztest::WriteFileText(install + "\\db1\\vm001.dbf", "alarm configuration");
    qztest::WriteFileText(install + "\\db1\\qzpersonal.dbf", "personnel");
    qztest::WriteFileText(install + "\\db1\\qzgroups.dbf", "groups");
    for (const char* name : {"qztini.dbf", "qz1post.txt", "qztque.dbf", "start.bat", "plan.csv"})
        qztest::WriteFileText(install + "\\qzt\\" + name, name);
    for (const char* name : {"v0012_1.vox", "v0012_2.wav", "mail.eml"})
        qztest::WriteFileText(install + "\\dbv1\\" + name, name);
    qztest::MakeDirectories(install + "\\log");

    for (const char* name : {"qzkeepset.ini", "qzpers.ini", "qzalarm.ini"})
        RemoveWindowsFile(name);
    qztest::WriteProfileFile(qztest::WindowsDir() + "\\qzpers.ini",
                             "[DBInfo]\r\nPers=qzpersonal.dbf\r\nGroup=qzgroups.dbf\r\n");
    qztest::WriteProfileFile(qztest::WindowsDir() + "\\qzalarm.ini", "[Alarm]\r\nLines=4\r\n");
    // Voice messages are saved too.
    qztest::WriteProfileFile(qztest::ConfigFilePath(), "[Config]\r\nSaveMSG=1\r\n");

    // Both desktops. The system writes "Shell Folders" afresh from "User
    // Shell Folders" when a program asks for a folder, so both are set.
    qztest::WriteFileText(Root() + "\\desktop\\user\\Alarm.lnk", "user link");
    qztest::WriteFileText(Root() + "\\desktop\\all\\Common.lnk", "common link");
    const struct {
        HKEY root;
        const char* key;
        const char* value;
        std::string folder;
    } desktops[] = {
        {HKEY_CURRENT_USER, kShellFolders, "Desktop", Root() + "\\desktop\\user"},
        {HKEY_CURRENT_USER, kUserShellFolders, "Desktop", Root() + "\\desktop\\user"},
        {HKEY_LOCAL_MACHINE, kShellFolders, "Common Desktop", Root() + "\\desktop\\all"},
        {HKEY_LOCAL_MACHINE, kUserShellFolders, "Common Desktop", Root() + "\\desktop\\all"},
    };
    for (const auto& desktop : desktops) {
        savedValues_.push_back(ReadValue(desktop.root, desktop.key, desktop.value));
        WriteValue(desktop.root, desktop.key, desktop.value, REG_SZ, desktop.folder);
    }

    qztest::MakeDirectories(Root() + "\\program");
    ASSERT_TRUE(CopyFileA(qzauto::WindowsPathOfUnix(QZ_PROGRAM_FILE).c_str(),
                          (Root() + "\\program\\qzkeepset.exe").c_str(), FALSE))
        << "no program at " << QZ_PROGRAM_FILE;
}

void Installation::TearDown()
{
    program_.Kill();
    for (const SavedValue& saved : savedValues_)
        WriteValue(saved.root, saved.key, saved.value, saved.type, saved.data);
    savedValues_.clear();
    qztest::DeleteRegistryTree(true, "SOFTWARE\\Orvella");
    for (const char* name : {"qzkeepset.ini", "qzpers.ini", "qzalarm.ini"})
        RemoveWindowsFile(name);
    qztest::UnmapListedDrive('Q');
    scratch_.reset();
}

void Installation::StartProgram(const std::vector<std::string>& arguments)
{
    std::string line = "\"" + Root() + "\\program\\qzkeepset.exe\"";
    for (const std::string& argument : arguments)
        line += " \"" + argument + "\"";
    ASSERT_TRUE(program_.Start(line, "Q:\\")) << line;
}

HWND Installation::MainWindow(const std::string& title)
{
    const HWND window = qzauto::WaitForWindow(title, program_.Id());
    EXPECT_NE(window, nullptr) << "no main window \"" << title << "\"";
    return window;
}

DWORD Installation::ExitProgram(HWND mainWindow)
{
    qzauto::ClickButton(mainWindow, IDOK);
    return WaitForExit();
}

DWORD Installation::WaitForExit(DWORD timeoutMilliseconds)
{
    DWORD exitCode = 0;
    EXPECT_TRUE(program_.WaitForExit(exitCode, timeoutMilliseconds)) << "the program did not end";
    return exitCode;
}

bool Installation::PlaceLanguageLibrary(const std::string& code)
{
    const std::string name = "qzkeep_" + code + ".dll";
    return CopyFileA((BinFolder() + "\\" + name).c_str(), (Root() + "\\program\\" + name).c_str(), FALSE) != FALSE;
}

void Installation::SetLanguage(const std::string& language)
{
    WritePrivateProfileStringA("Config", "DefaultLanguage", language.c_str(), "qzkeepset.ini");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "qzkeepset.ini");
}

HMODULE Installation::LanguageModule(const std::string& code) const
{
    if (code.empty())
        return GetModuleHandleA(nullptr);
    return LoadLibraryExA((BinFolder() + "\\qzkeep_" + code + ".dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

std::string Installation::TextOf(const std::string& code, unsigned id) const
{
    const HMODULE module = LanguageModule(code);
    char text[1024] = "";
    if (module != nullptr)
        LoadStringA(module, id, text, sizeof text);
    return text;
}

std::size_t Installation::ExpectTemplateTexts(HWND dialog, const std::string& code, int dialogId) const
{
    qztest::DialogTemplate expected;
    if (!qztest::ReadDialogTemplate(LanguageModule(code), dialogId, expected)) {
        ADD_FAILURE() << "no dialog " << dialogId << " in the resources of language '" << code << "'";
        return 0;
    }
    std::size_t compared = 1;
    EXPECT_EQ(qzauto::WindowText(dialog), expected.caption) << "caption";
    // Controls are created in the order of the template, which is the order
    // of the dialog's children.
    std::map<int, std::vector<HWND>> shown;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        shown[GetDlgCtrlID(child) & 0xFFFF].push_back(child);
    std::map<int, std::size_t> seen;
    for (const auto& item : expected.items) {
        const int id = item.id & 0xFFFF;
        const std::size_t index = seen[id]++;
        if (index >= shown[id].size()) {
            ADD_FAILURE() << "the dialog has no control " << id << " (number " << index + 1 << ")";
            continue;
        }
        const bool fromLanguage =
            lstrcmpiA(item.className.c_str(), "Button") == 0 || lstrcmpiA(item.className.c_str(), "Static") == 0;
        if (!fromLanguage || (!item.text.empty() && item.text[0] == '#'))
            continue;
        EXPECT_EQ(qzauto::WindowText(shown[id][index]), item.text)
            << "control " << id << " (number " << index + 1 << ")";
        ++compared;
    }
    return compared;
}

void Installation::PlaceStandIn(const std::string& programName)
{
    CopyFileA(qzauto::WindowsPathOfUnix(QZ_STANDIN_FILE).c_str(), ("Q:\\" + programName).c_str(), FALSE);
}

std::vector<std::string> Installation::StartedPrograms() const
{
    return qztest::ReadLines("Q:\\started-programs.txt");
}

std::string Installation::ConfigValue(const std::string& section, const std::string& key) const
{
    const auto content = qztest::ReadProfileContent(qztest::ConfigFilePath());
    const auto found = content.find(section);
    if (found == content.end() || found->second.count(key) == 0)
        return "<missing>";
    return found->second.at(key);
}

std::vector<std::string> Installation::RunLog() const
{
    return qztest::ReadLines("Q:\\log\\qzkeepset.log");
}

void Installation::TakeScreenshot(const std::string& name)
{
    std::string folder;
    if (const char* given = std::getenv("QZ_SCREENSHOT_DIR"))
        folder = given;
    if (folder.empty()) {
        char program[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, program, sizeof program);
        folder = qztest::UnixPathOf(program);
        folder = folder.substr(0, folder.rfind('/')) + "/screenshots";
    }
    EXPECT_TRUE(qzauto::WaitUntilSettled(program_.Id())) << "the program did not finish painting for " << name;
    qztest::RunUnix({"/bin/mkdir", "-p", folder});
    qztest::RunUnix({"/usr/bin/import", "-window", "root", folder + "/" + name + ".png"});
}

}  // namespace e2e
