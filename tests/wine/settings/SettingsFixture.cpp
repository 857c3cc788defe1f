#include "SettingsFixture.h"

#include "support/TestSkips.h"

#include "win/CallCounter.h"
#include "win/Files.h"
#include "win/MessageBoxes.h"

#include <commctrl.h>

namespace settingstest {
namespace {

const std::string kOwnServerIni = "C:\\qz_mysql\\conf\\my.ini";

void RemoveServerFiles()
{
    qztest::RemoveProfileFile(qztest::ConfigFilePath());
    qztest::RemoveProfileFile(qztest::WindowsDir() + "\\my.ini");
    qztest::RemoveProfileFile(kOwnServerIni);
}

}  // namespace

void SettingsTest::SetUp()
{
    RemoveServerFiles();
    ResetSaveSettings();
    win::ResetCalls();
    win::SetMessageBoxHandler([](const std::string& text, const std::string&, unsigned) {
        ADD_FAILURE() << "unexpected message box: " << text;
        return win::kAnswerNo;
    });
    startDirectory_ = win::CurrentDirectory();
    win::ChangeDirectory(work_.Path());

    // Databases are the plain sub-directories of the data directory. Wine
    // keeps no archive attribute on directories, so the archive entry here
    // is a file, which carries it (32), like the server's own files.
    for (const char* database : {"mysql", "test", "shop", "hiddendb"})
        qztest::MakeDirectories(data_ / database);
    qztest::SetAttributes(data_ / "hiddendb", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    qztest::WriteFileText(data_ / "ibdata1", "innodb");
    qztest::SetAttributes(data_ / "ibdata1", FILE_ATTRIBUTE_ARCHIVE);

    for (const char* directory : {"include", "ini", "shop", "private"})
        qztest::MakeDirectories(htdocs_ / directory);
    qztest::SetAttributes(htdocs_ / "private", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    qztest::WriteFileText(htdocs_ / "index.php", "<?php ?>");

    WriteConfig(StandardConfig());
    LoadStandardSaveSettings();
}

void SettingsTest::TearDown()
{
    dialog_.reset();
    win::SetMessageBoxHandler(nullptr);
    win::ChangeDirectory(startDirectory_);
    RemoveServerFiles();
    ResetSaveSettings();
    win::ResetCalls();
}

std::string SettingsTest::StandardConfig() const
{
    return "[Config]\r\n"
           "SaveMSG=1\r\n"
           "OnlySaveAlrMSG=1\r\n"
           "SaveWeb=1\r\n"
           "WebHtdocsPath=" + htdocs_.Path() + "\r\n"
           "HtdocsSubDirToSave=Include,\r\n"
           "AciveStartBatch=1\r\n"
           "StartBatch=old batch\r\n"
           "AciveSaveFiles1=1\r\n"
           "SaveFiles1=C:\\old1\r\n"
           "SaveFiles2=C:\\old2\r\n"
           "[MySQL]\r\n"
           "MySQLPath=C:\\mysql\\bin\r\n"
           "MySQLDataPath=" + data_.Path() + "\r\n"
           "DumpDatabase=mytest,\r\n"
           "SaveSpecifiedDatabases=1\r\n"
           "HtdocsSubDirCustomSelect=1\r\n"
           "UserName=\r\n"
           "Password=secret\r\n";
}

void SettingsTest::LoadStandardSaveSettings()
{
    UpdateSaveSettings([](SaveSettingsRecord& record) {
        record.SaveMSG = 1;
        record.OnlySaveAlrMSG = 1;
        record.SaveDesktop = 0;
        record.SaveWeb = 1;
        record.SaveHtdocs = 1;
        record.SaveSubHtdocs = 0;
        record.SaveMySql = 1;
        record.AciveStartBatch = 1;
        record.StartBatch = "old batch";
        record.AciveSaveFiles1 = 1;
        record.SaveFiles1 = "C:\\old1";
        record.SaveFiles2 = "C:\\old2";
        record.WebServerKind = 2;
        record.SaveDir = "D:\\run";
    });
}

void SettingsTest::WriteConfig(const std::string& content)
{
    qztest::WriteProfileFile(qztest::ConfigFilePath(), content);
}

qztest::ProfileContent SettingsTest::ConfigContent()
{
    return qztest::ReadProfileContent(qztest::ConfigFilePath());
}

std::string SettingsTest::Key(const std::string& section, const std::string& key)
{
    const auto content = ConfigContent();
    const auto inSection = content.find(section);
    if (inSection == content.end())
        return "<missing>";
    const auto found = inSection->second.find(key);
    return found == inSection->second.end() ? "<missing>" : found->second;
}

void SettingsTest::Open()
{
    // Made once the desktop takes windows: the first window of a test
    // program can come while the prefix's desktop is still starting.
    ASSERT_TRUE(qztest::DisplayAvailable());
    dialog_ = std::make_unique<SettingsDialog>();
    SetLastError(0);
    // The system's reason, for a creation that fails once in many runs.
    ASSERT_TRUE(dialog_->Create()) << "error " << GetLastError();
}

HWND SettingsTest::Control(int id) const
{
    return GetDlgItem(dialog_->Window(), id);
}

bool SettingsTest::Checked(int id) const
{
    return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool SettingsTest::Enabled(int id) const
{
    return IsWindowEnabled(Control(id)) != FALSE;
}

std::string SettingsTest::Text(int id) const
{
    char buffer[1024] = "";
    GetWindowTextA(Control(id), buffer, sizeof buffer);
    return buffer;
}

void SettingsTest::Click(int id, bool checked)
{
    SendMessageA(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageA(dialog_->Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Control(id)));
}

void SettingsTest::SelectRadio(int id, int otherId)
{
    SendMessageA(Control(otherId), BM_SETCHECK, BST_UNCHECKED, 0);
    Click(id, true);
}

void SettingsTest::Type(int id, const std::string& text)
{
    SendMessageA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void SettingsTest::Press(int id)
{
    SendMessageA(dialog_->Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Control(id)));
}

Rows SettingsTest::ListRows(int listId) const
{
    const HWND list = Control(listId);
    Rows rows;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        char text[256] = "";
        LVITEMA row = {};
        row.pszText = text;
        row.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row));
        const auto state = static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK));
        rows.emplace_back(text, (state >> 12) == 2);
    }
    return rows;
}

void SettingsTest::SetRowChecked(int listId, const std::string& name, bool checked)
{
    const Rows rows = ListRows(listId);
    for (std::size_t index = 0; index < rows.size(); ++index) {
        if (rows[index].first != name)
            continue;
        LVITEMA row = {};
        row.stateMask = LVIS_STATEIMAGEMASK;
        row.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
        SendMessageA(Control(listId), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&row));
        return;
    }
    ADD_FAILURE() << "no row " << name;
}

}  // namespace settingstest
