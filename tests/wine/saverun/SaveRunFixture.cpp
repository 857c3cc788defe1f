#include "SaveRunFixture.h"

#include "keepset/ManifestFormat.h"
#include "save/SaveRun.h"
#include "win/CallCounter.h"
#include "win/MessageBoxes.h"

#include <windows.h>

#include <algorithm>
#include <functional>

namespace {

const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

void RemoveWindowsFile(const std::string& name)
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, name.c_str());
    qztest::RemoveTree(qztest::WindowsDir() + "\\" + name);
}

void ListTree(const std::string& root, const std::string& relative, std::vector<std::string>& out)
{
    WIN32_FIND_DATAA data;
    const std::string directory = relative.empty() ? root : root + "\\" + relative;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = relative.empty() ? name : relative + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.push_back(path + "\\");
            ListTree(root, path, out);
        } else {
            out.push_back(path);
        }
    } while (FindNextFileA(search, &data));
    FindClose(search);
}

}  // namespace

void SaveRunTest::SetUp()
{
    win::ResetCalls();
    scratch_ = std::make_unique<qztest::ScratchFolder>("saverun");
    const std::string install = Install();
    qztest::MapDrive('Q', install);

    // The installation: alarm and personnel databases, tool directory, voice messages.
    qztest::WriteFileText(install + "\\db1\\vm001.dbf", "alarm configuration");
    qztest::WriteFileText(install + "\\db1\\qzgroups.dbf", "groups");
    qztest::WriteFileText(install + "\\db1\\qzpersonal.dbf", "personnel");
    qztest::WriteFileText(install + "\\db1\\other.dbf", "not saved");
    for (const char* name : {"qztini.dbf", "qz1post.txt", "qztbatch.dbf", "qztque.dbf", "module.qze", "run.bat",
                             "run.cmd", "readme.rtf", "tool.ini", "plan.csv", "logo.bmp", "program.exe"})
        qztest::WriteFileText(install + "\\qzt\\" + name, name);
    for (const char* name : {"v0012_1.vox", "v0012_2.vox", "v0013_1.wav", "v0013_2.wav", "mail.eml", "note.txt"})
        qztest::WriteFileText(install + "\\dbv1\\" + name, name);

    // The Windows directory: ini files of the alarm software.
    for (const char* name : {"qzpers.ini", "qzkeepset.ini", "my.ini", "qzalarm.ini", "vmqzt.ini", "pmqzt.ini",
                             "setupal.ini"})
        RemoveWindowsFile(name);
    qztest::WriteFileText(qztest::WindowsDir() + "\\qzalarm.ini", "[Alarm]\r\nx=1\r\n");
    qztest::WriteFileText(qztest::WindowsDir() + "\\vmqzt.ini", "[Vm]\r\n");
    qztest::WriteFileText(qztest::WindowsDir() + "\\setupal.ini", "[Setup]\r\n");
    WritePrivateProfileStringA("DBInfo", "Pers", "qzpersonal.dbf", "qzpers.ini");
    WritePrivateProfileStringA("DBInfo", "Group", "qzgroups.dbf", "qzpers.ini");
    WritePrivateProfileStringA("DBInfo", "Link", "qzlink.dbf", "qzpers.ini");  // not in db1: skipped

    // Both desktops.
    qztest::WriteFileText(Root() + "\\userdesk\\Alarm.lnk", "user link");
    qztest::MakeDirectories(Root() + "\\userdesk\\folder");
    qztest::WriteFileText(Root() + "\\alldesk\\Common.lnk", "common link");
    // The shell rewrites "Shell Folders" from "User Shell Folders" when it
    // starts (Wine's desktop process does so at the first window): set both.
    userDesktopBefore_ = qztest::SaveRegistryValue(false, kUserShellFolders, "Desktop");
    qztest::SetRegistryString(false, kUserShellFolders, "Desktop", Root() + "\\userdesk");
    qztest::SetRegistryString(false, kShellFolders, "Desktop", Root() + "\\userdesk");
    qztest::SetRegistryString(true, kShellFolders, "Common Desktop", Root() + "\\alldesk");

    // The working directory with its log folder.
    qztest::MakeDirectories(Root() + "\\work\\log");
    previousDirectory_ = std::string(MAX_PATH, '\0');
    previousDirectory_.resize(GetCurrentDirectoryA(MAX_PATH, &previousDirectory_[0]));
    SetCurrentDirectoryA((Root() + "\\work").c_str());

    receiver_ = std::make_unique<qztest::ReportReceiver>();
    boxes_.clear();
    win::SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned style) {
        boxes_.push_back({text, caption, style, win::BoxOwner()});
        return win::kAnswerOk;
    });

    ResetSaveSettings();
    saveDir_ = Root() + "\\keep";
    UpdateSaveSettings([&](SaveSettingsRecord& s) {
        s.InstallDrive = "Q:";
        s.SaveDir = saveDir_;
        s.LogPath = "log\\qzkeepset.log";
        s.MainWindow = receiver_->Window();
        s.SaveDesktop = 1;
    });
}

void SaveRunTest::TearDown()
{
    win::SetMessageBoxHandler(nullptr);
    ResetSaveSettings();
    receiver_.reset();
    SetCurrentDirectoryA(previousDirectory_.c_str());
    qztest::UnmapDrive('Q');
    qztest::UnmapDrive('D');
    qztest::DeleteRegistryTree(false, kShellFolders);
    qztest::RestoreRegistryValue(false, kUserShellFolders, "Desktop", userDesktopBefore_);
    qztest::DeleteRegistryTree(true, kShellFolders);
    qztest::DeleteRegistryTree(true, "SYSTEM\\ControlSet001\\Services\\Apache2");
    RemoveWindowsFile("qzkeepset.ini");
    scratch_.reset();
    win::ResetCalls();
}

void SaveRunTest::RunSave()
{
    const int endsBefore = receiver_->EndMessages();
    ASSERT_TRUE(StartSaveRun());
    ASSERT_TRUE(receiver_->WaitForEnds(endsBefore + 1)) << "the save run did not end";
}

void SaveRunTest::SetSaveDir(const std::string& directory)
{
    saveDir_ = directory;
    UpdateSaveSettings([&](SaveSettingsRecord& s) { s.SaveDir = directory; });
}

void SaveRunTest::SetConfig(const std::string& section, const std::string& key, const std::string& value)
{
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), "qzkeepset.ini");
}

std::vector<std::string> SaveRunTest::SavedTree() const
{
    std::vector<std::string> tree;
    ListTree(saveDir_, "", tree);
    std::sort(tree.begin(), tree.end());
    return tree;
}

std::map<std::string, std::string> SaveRunTest::TreeContents(const std::string& root) const
{
    std::vector<std::string> tree;
    ListTree(root, "", tree);
    std::map<std::string, std::string> contents;
    for (const std::string& path : tree)
        contents[path] = path.back() == '\\' ? std::string() : qztest::ReadFileText(root + "\\" + path);
    return contents;
}

std::vector<std::string> SaveRunTest::ConfigSectionLines(const std::string& section) const
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "qzkeepset.ini");  // Wine's copy to the disk
    std::vector<std::string> lines;
    bool inside = false;
    for (const std::string& line : qztest::ReadLines(qztest::ConfigFilePath())) {
        if (!line.empty() && line[0] == '[')
            inside = line == "[" + section + "]";
        else if (inside)
            lines.push_back(line);
    }
    return lines;
}

void SaveRunTest::NewReceiver()
{
    receiver_ = std::make_unique<qztest::ReportReceiver>();
    UpdateSaveSettings([&](SaveSettingsRecord& s) { s.MainWindow = receiver_->Window(); });
    boxes_.clear();
    win::ResetCalls();
}

std::vector<std::string> SaveRunTest::LogLines() const
{
    return qztest::ReadLines(Root() + "\\work\\log\\qzkeepset.log");
}

std::vector<std::string> SaveRunTest::ReportTexts() const
{
    std::vector<std::string> texts;
    for (const auto& report : receiver_->Reports())
        texts.push_back(report.text);
    return texts;
}

std::map<std::string, std::string> SaveRunTest::Section(const std::string& file, const std::string& section) const
{
    std::map<std::string, std::string> values;
    std::vector<char> keys(32768, '\0');
    GetPrivateProfileStringA(section.c_str(), nullptr, "", keys.data(), static_cast<DWORD>(keys.size()),
                             file.c_str());
    for (const char* key = keys.data(); *key != '\0'; key += strlen(key) + 1) {
        char value[1024] = {};
        GetPrivateProfileStringA(section.c_str(), key, "", value, sizeof value, file.c_str());
        values[key] = value;
    }
    return values;
}

std::map<std::string, bool> SaveRunTest::ReportedFiles() const
{
    const std::string failedPrefix = "FAILED to save ";
    const std::string dumped = "Successfully dumped MySQL database: ";
    const std::string notDumped = "Failed to dump MySQL database ";
    std::map<std::string, bool> files;
    for (const auto& report : receiver_->Reports()) {
        const std::string& text = report.text;
        std::string target;
        if (text.rfind(failedPrefix, 0) == 0 && text.size() > failedPrefix.size() + 2)
            target = text.substr(text.rfind(" to ") + 4, text.size() - text.rfind(" to ") - 6);
        else if (text.find(" saved to ") != std::string::npos)
            target = text.substr(text.find(" saved to ") + 10);
        else if (text.rfind(dumped, 0) == 0)
            target = saveDir_ + "\\mysql\\" + text.substr(dumped.size()) + ".sql";
        else if (text.rfind(notDumped, 0) == 0)
            target = saveDir_ + "\\mysql\\" + text.substr(notDumped.size()) + ".sql";
        const std::string relative = KeepsetRelativePath(saveDir_, target);
        if (!relative.empty())
            files[relative] = report.wParam == 0;
    }
    return files;
}

void SaveRunTest::ExpectManifestOfSavedFiles() const
{
    const std::string manifest = qztest::ReadFileText(saveDir_ + "\\qzkeepset.sha256");
    const ParsedManifest parsed = ParseManifest(manifest, qztest::ReadFileText(saveDir_ + "\\qzkeepset.size"));
    EXPECT_EQ(parsed.malformedLines, 0u);
    std::vector<std::string> listed;
    for (const ManifestEntry& entry : parsed.entries) {
        listed.push_back(entry.path);
        EXPECT_TRUE(entry.sizeKnown) << entry.path;
        EXPECT_EQ(entry.size, qztest::ReadFileText(saveDir_ + "\\" + entry.path).size()) << entry.path;
    }
    std::vector<std::string> saved;
    for (const auto& file : ReportedFiles())
        if (file.second)
            saved.push_back(file.first);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, saved);
    if (!listed.empty()) {
        EXPECT_TRUE(ManifestMatchesFiles(saveDir_)) << manifest;
    }
}

bool SaveRunTest::ManifestMatchesFiles(const std::string& directory) const
{
    const std::string check = "cd '" + qztest::UnixPathOf(directory) +
                              "' && tr '\\\\' / < qzkeepset.sha256 | sha256sum --check --strict --quiet -";
    return qztest::RunUnix({"/bin/sh", "-c", check}) == 0;
}
