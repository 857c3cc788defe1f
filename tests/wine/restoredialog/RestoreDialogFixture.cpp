#include "RestoreDialogFixture.h"

#include "config/SaveSettings.h"
#include "resource.h"
#include "save/SaveRun.h"
#include "support/ProfileFiles.h"
#include "win/CallCounter.h"
#include "win/Files.h"
#include "win/MessageBoxes.h"

#include <commctrl.h>

namespace restoredialogtest {
namespace {

const char kShellFolders[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUserShellFolders[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char* const kWindowsFiles[] = {"qzpers.ini", "qzdialogtest.ini"};

std::string WindowsFile(const std::string& name)
{
    return qztest::WindowsDir() + "\\" + name;
}

std::map<std::string, std::string> FilesIn(const std::string& directory)
{
    std::map<std::string, std::string> files;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            files[data.cFileName] = qztest::ReadFileText(directory + "\\" + data.cFileName);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return files;
}

std::string ListText(HWND list, int row, int column)
{
    char buffer[600] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

void SelectOnly(HWND list, int row)
{
    LVITEMA clear = {};
    clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    if (row < 0)
        return;
    LVITEMA select = {};
    select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    select.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&select));
}

}  // namespace

void RestoreDialogTest::SetUp()
{
    qztest::RemoveConfigFile();
    win::ResetCalls();
    qztest::MakeDirectories(install_ / "work\\log");
    for (const char* directory : {"qzt", "db1", "dbv1", "extra"})
        qztest::MakeDirectories(install_ / directory);
    qztest::MapDrive('Q', install_.Path());
    startDirectory_ = win::CurrentDirectory();
    ASSERT_TRUE(win::ChangeDirectory("Q:\\work"));

    // The shell rewrites "Shell Folders" from "User Shell Folders" when the
    // first window opens: both name the test's folders.
    commonDesktop_ = qztest::SaveRegistryValue(true, kShellFolders, "Common Desktop");
    userDesktop_ = qztest::SaveRegistryValue(false, kShellFolders, "Desktop");
    userShellDesktop_ = qztest::SaveRegistryValue(false, kUserShellFolders, "Desktop");
    qztest::MakeDirectories(desktops_ / "all");
    qztest::MakeDirectories(desktops_ / "user");
    qztest::SetRegistryString(true, kShellFolders, "Common Desktop", desktops_ / "all");
    qztest::SetRegistryString(false, kShellFolders, "Desktop", desktops_ / "user");
    qztest::SetRegistryString(false, kUserShellFolders, "Desktop", desktops_ / "user");

    win::SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned style) {
        boxes_.push_back({text, caption, style});
        if ((style & win::kBoxIconWarning) == win::kBoxIconWarning && (style & win::kBoxYesNo) != 0)
            return answerWarnings_;
        return (style & win::kBoxYesNo) != 0 ? win::kAnswerYes : win::kAnswerOk;
    });
    receiver_ = std::make_unique<qztest::ReportReceiver>();
}

void RestoreDialogTest::TearDown()
{
    dialog_.reset();
    receiver_.reset();
    win::SetMessageBoxHandler(nullptr);
    ResetSaveSettings();
    win::ResetCalls();
    win::ChangeDirectory(startDirectory_);
    qztest::UnmapDrive('Q');
    qztest::RestoreRegistryValue(true, kShellFolders, "Common Desktop", commonDesktop_);
    qztest::RestoreRegistryValue(false, kShellFolders, "Desktop", userDesktop_);
    qztest::RestoreRegistryValue(false, kUserShellFolders, "Desktop", userShellDesktop_);
    for (const char* name : kWindowsFiles)
        qztest::RemoveProfileFile(WindowsFile(name));
    qztest::RemoveConfigFile();
}

void RestoreDialogTest::SaveInto(const std::string& directory)
{
    const std::string binary("\0\x01\x02\r\n\x1a\xfe\xff", 8);
    for (const char* name : {"qztini.dbf", "module.qze", "run.bat", "tool.ini"})
        qztest::WriteFileText(install_ / (std::string("qzt\\") + name), name + binary);
    qztest::WriteFileText(install_ / "db1\\vm001.dbf", "alarm configuration" + binary);
    qztest::WriteFileText(install_ / "db1\\qzgroups.dbf", "groups");
    qztest::WriteFileText(install_ / "db1\\qzpersonal.dbf", "personnel");
    qztest::WriteFileText(install_ / "dbv1\\v0012_1.vox", "voice" + binary);
    qztest::WriteFileText(install_ / "dbv1\\mail.eml", "mail");
    qztest::WriteFileText(install_ / "extra\\data.bin", "additional" + binary);
    qztest::WriteFileText(desktops_ / "all\\Common.lnk", "common link");
    qztest::WriteFileText(desktops_ / "user\\Alarm.lnk", "user link");
    qztest::WriteProfileFile(WindowsFile("qzpers.ini"), "[DBInfo]\r\nPers=qzpersonal.dbf\r\nGroup=qzgroups.dbf\r\n");
    qztest::WriteProfileFile(WindowsFile("qzdialogtest.ini"), "[Alarm]\r\nLines=4\r\n");

    ResetSaveSettings();
    UpdateSaveSettings([&](SaveSettingsRecord& s) {
        s.InstallDrive = "Q:";
        s.SaveDir = directory;
        s.LogPath = "log\\qzkeepset.log";
        s.MainWindow = receiver_->Window();
        s.SaveMSG = 1;
        s.SaveDesktop = 1;
        s.AciveSaveFiles1 = 1;
        s.SaveFiles1 = "Q:\\extra";
    });
    SaveRun();
    ASSERT_EQ(receiver_->EndMessages(), 1);
    boxes_.clear();
}

Installation RestoreDialogTest::Snapshot() const
{
    Installation installation;
    for (const char* directory : {"qzt", "db1", "dbv1", "extra"})
        installation[directory] = FilesIn(install_ / directory);
    installation["all users' desktop"] = FilesIn(desktops_ / "all");
    installation["user's desktop"] = FilesIn(desktops_ / "user");
    for (const char* name : {"qzpers.ini", "qzdialogtest.ini"})
        installation["Windows directory"][name] = qztest::ReadFileText(WindowsFile(name));
    return installation;
}

void RestoreDialogTest::ChangeTheInstallation()
{
    qztest::WriteFileText(install_ / "qzt\\tool.ini", "changed");
    qztest::RemoveTree(install_ / "db1\\vm001.dbf");
    qztest::WriteFileText(install_ / "dbv1\\v0012_1.vox", "re-recorded");
    qztest::RemoveTree(install_ / "extra\\data.bin");
    qztest::WriteFileText(desktops_ / "user\\Alarm.lnk", "moved link");
    qztest::WriteProfileFile(WindowsFile("qzdialogtest.ini"), "[Alarm]\r\nLines=9\r\n");
}

void RestoreDialogTest::Open()
{
    dialog_ = std::make_unique<RestoreDialog>();
    dialog_->SetFolderChooser([this](const RestoreDialog::FolderRequest& request, std::string& chosen) {
        browserRequests_.push_back(request);
        chosen = chosen_;
        return !chosen_.empty();
    });
    ASSERT_TRUE(dialog_->Create());
}

std::string RestoreDialogTest::SummaryText() const
{
    char buffer[1000] = "";
    GetDlgItemTextA(dialog_->Window(), IDC_RST_SUMMARY, buffer, sizeof buffer);
    return buffer;
}

std::vector<Lines> RestoreDialogTest::KeepsetRows() const
{
    const HWND list = Control(IDC_RST_KEEPSET_LIST);
    std::vector<Lines> rows;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
        rows.push_back({ListText(list, row, 0), ListText(list, row, 1), ListText(list, row, 2), ListText(list, row, 3)});
    return rows;
}

LPARAM RestoreDialogTest::KeepsetRowEntry(int row) const
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(Control(IDC_RST_KEEPSET_LIST), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

void RestoreDialogTest::ClickKeepsetRow(int row)
{
    const HWND list = Control(IDC_RST_KEEPSET_LIST);
    SelectOnly(list, row);
    NMITEMACTIVATE click = {};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = IDC_RST_KEEPSET_LIST;
    click.hdr.code = NM_CLICK;
    click.iItem = row;
    SendMessageA(dialog_->Window(), WM_NOTIFY, IDC_RST_KEEPSET_LIST, reinterpret_cast<LPARAM>(&click));
}

void RestoreDialogTest::SelectKeepsetRowByKeyboard(int row)
{
    SelectOnly(Control(IDC_RST_KEEPSET_LIST), row);
}

Lines RestoreDialogTest::CustomRowTexts() const
{
    const HWND list = Control(IDC_RST_CUSTOM_LIST);
    Lines texts;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
        texts.push_back(ListText(list, row, 0));
    return texts;
}

void RestoreDialogTest::CheckCustomRow(int row)
{
    LVITEMA item = {};
    item.stateMask = 0xF000;
    item.state = 0x2000;
    SendMessageA(Control(IDC_RST_CUSTOM_LIST), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

void RestoreDialogTest::ClickRadio(int id, int otherId)
{
    CheckDlgButton(dialog_->Window(), id, BST_CHECKED);
    CheckDlgButton(dialog_->Window(), otherId, BST_UNCHECKED);
    Press(id);
}

void RestoreDialogTest::Press(int id)
{
    SendMessageA(dialog_->Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Control(id)));
}

std::string RestoreDialogTest::ConfigValue(const std::string& section, const std::string& key) const
{
    const qztest::ProfileContent content = qztest::ReadProfileContent(qztest::ConfigFilePath());
    const auto s = content.find(section);
    if (s == content.end())
        return "<no section>";
    const auto k = s->second.find(key);
    return k == s->second.end() ? "<no key>" : k->second;
}

}  // namespace restoredialogtest
