#include "ui/SettingsDialog.h"

#include "config/CommaList.h"
#include "config/ConfigFile.h"
#include "config/MySqlDataDirectory.h"
#include "config/MySqlPaths.h"
#include "config/ProfileFileUpdate.h"
#include "config/SaveSettings.h"
#include "resource.h"
#include "save/UserPrompts.h"
#include "ui/SettingsListEntries.h"
#include "win/Files.h"
#include "win/MessageBoxes.h"
#include "win/Process.h"
#include "win/Profile.h"
#include "win/Texts.h"

#include <initializer_list>

namespace {

constexpr int kListColumnWidth = 150;

// Usable lengths of the values the dialog handles; the edits hold no more.
constexpr std::size_t kShortTextLength = 79;   // htdocs path, user name, password, data path
constexpr std::size_t kListLength = 511;       // "HtdocsSubDirToSave", "DumpDatabase"

const int kAdditionalActiveIds[4] = {IDC_SET_ADDITIONAL1_ACTIVE, IDC_SET_ADDITIONAL2_ACTIVE,
                                     IDC_SET_ADDITIONAL3_ACTIVE, IDC_SET_ADDITIONAL4_ACTIVE};
const int kAdditionalPathIds[4] = {IDC_SET_ADDITIONAL1_PATH, IDC_SET_ADDITIONAL2_PATH, IDC_SET_ADDITIONAL3_PATH,
                                   IDC_SET_ADDITIONAL4_PATH};

std::string ReadText(const char* section, const char* key, std::size_t length)
{
    return win::ReadProfileString(kConfigFile, section, key, "", length);
}

void WriteText(ProfileFileUpdate& update, const char* section, const char* key, const std::string& value)
{
    update.Write(section, key, value);
}

void WriteFlag(ProfileFileUpdate& update, const char* key, bool set)
{
    WriteText(update, kSectionConfig, key, set ? "1" : "0");
}

void WriteNumber(ProfileFileUpdate& update, const char* section, const char* key, int value)
{
    WriteText(update, section, key, std::to_string(value));
}

int& AciveSaveFilesField(SaveSettingsRecord& record, int n)
{
    int* const fields[4] = {&record.AciveSaveFiles1, &record.AciveSaveFiles2, &record.AciveSaveFiles3,
                            &record.AciveSaveFiles4};
    return *fields[n];
}

std::string& SaveFilesField(SaveSettingsRecord& record, int n)
{
    std::string* const fields[4] = {&record.SaveFiles1, &record.SaveFiles2, &record.SaveFiles3, &record.SaveFiles4};
    return *fields[n];
}

// The save options this dialog changes; the run fields stay as they are.
void CopySaveOptions(const SaveSettingsRecord& from, SaveSettingsRecord& to)
{
    to.SaveMSG = from.SaveMSG;
    to.OnlySaveAlrMSG = from.OnlySaveAlrMSG;
    to.SaveDesktop = from.SaveDesktop;
    to.SaveWeb = from.SaveWeb;
    to.SaveHtdocs = from.SaveHtdocs;
    to.SaveSubHtdocs = from.SaveSubHtdocs;
    to.SaveMySql = from.SaveMySql;
    to.AciveStartBatch = from.AciveStartBatch;
    to.StartBatch = from.StartBatch;
    to.AciveSaveFiles1 = from.AciveSaveFiles1;
    to.AciveSaveFiles2 = from.AciveSaveFiles2;
    to.AciveSaveFiles3 = from.AciveSaveFiles3;
    to.AciveSaveFiles4 = from.AciveSaveFiles4;
    to.SaveFiles1 = from.SaveFiles1;
    to.SaveFiles2 = from.SaveFiles2;
    to.SaveFiles3 = from.SaveFiles3;
    to.SaveFiles4 = from.SaveFiles4;
}

// Lists the entries of a directory that the rule accepts, in the order the
// system gives them, checking those the list text mentions. An empty
// directory text lists nothing: its pattern would name the working
// directory.
void FillList(CheckBoxList& list, const std::string& directory, const std::string& listText,
              bool (*accepts)(const std::string&, unsigned long))
{
    if (directory.empty())
        return;
    // A trailing "." component stands for the directory itself, so the
    // pattern works with or without a closing backslash. The names are
    // listed, and written to the settings, as the system shows them.
    win::DirectorySearch search(DatabaseSearchPattern(directory), win::NameForm::Shown);
    win::FoundEntry entry;
    while (search.Next(entry)) {
        if (!accepts(entry.name, entry.attributes))
            continue;
        const int row = list.AddRow(entry.name);
        if (row >= 0 && CommaListMentions(listText, entry.name))
            list.CheckRow(row);
    }
}

std::string CutTo(std::string text, std::size_t length)
{
    if (text.size() > length)
        text.resize(length);
    return text;
}

}  // namespace

SettingsDialog::SettingsDialog(HWND owner) : Dialog(IDD_SETTINGS, owner) {}

bool SettingsDialog::OnInitDialog()
{
    LoadFromSaveSettings(CurrentSaveSettings());
    LimitEditLengths();
    subDirectories_.Attach(Item(IDC_SET_SUBDIRECTORY_LIST));
    databases_.Attach(Item(IDC_SET_DATABASE_LIST));
    subDirectories_.Prepare(kListColumnWidth);
    databases_.Prepare(kListColumnWidth);

    FillDatabaseList();
    values_.userName = ReadText(kSectionMySql, "UserName", kShortTextLength);
    if (values_.userName.empty())
        values_.userName = "root";
    values_.password = ReadText(kSectionMySql, "Password", kShortTextLength);
    values_.htdocsPath = ReadText(kSectionConfig, "WebHtdocsPath", kShortTextLength);
    FillSubDirectoryList();

    PushValues();
    // The box for alarm messages only means something with messages saved.
    ApplySaveMessagesRule();
    ApplySaveWebRule();
    return true;
}

void SettingsDialog::LoadFromSaveSettings(const SaveSettingsRecord& settings)
{
    values_.saveMessages = settings.SaveMSG != 0;
    values_.onlyAlarmMessages = settings.SaveMSG != 0 && settings.OnlySaveAlrMSG != 0;
    values_.saveWeb = settings.SaveWeb != 0;
    values_.saveHtdocs = settings.SaveWeb != 0 && settings.SaveHtdocs != 0;
    values_.saveMySql = settings.SaveWeb != 0 && settings.SaveMySql != 0;
    values_.saveDesktop = settings.SaveDesktop != 0;

    values_.batchProgram = settings.StartBatch;
    values_.batchActive = settings.AciveStartBatch != 0;
    ApplyBatchRule();

    for (int n = 0; n < 4; ++n) {
        values_.additionalPaths[n] = settings.SaveFiles(n + 1);
        values_.additionalActive[n] = settings.AciveSaveFiles(n + 1) != 0;
        ApplyAdditionalDirectoryRule(n);
    }
}

void SettingsDialog::LimitEditLengths()
{
    auto limit = [this](int id, std::size_t length) { SendItemMessage(id, EM_LIMITTEXT, length); };
    limit(IDC_SET_BATCH_PROGRAM, kStartBatchLength);
    for (int id : kAdditionalPathIds)
        limit(id, kSaveFilesLength);
    limit(IDC_SET_HTDOCS_PATH, kShortTextLength);
    limit(IDC_SET_USER_NAME, kShortTextLength);
    limit(IDC_SET_PASSWORD, kShortTextLength);
}

void SettingsDialog::FillDatabaseList()
{
    const std::string dataDirectory = FindMySqlDataDirectoryForSettings();
    values_.databaseChoice = win::ReadProfileInt(kConfigFile, kSectionMySql, "SaveSpecifiedDatabases", 0);
    const std::string dumpDatabase = ReadText(kSectionMySql, "DumpDatabase", kListLength);
    FillList(databases_, dataDirectory, dumpDatabase, IsDatabaseEntry);
}

void SettingsDialog::FillSubDirectoryList()
{
    // The choice lives in [MySQL], the list in [Config].
    values_.subDirectoryChoice = win::ReadProfileInt(kConfigFile, kSectionMySql, "HtdocsSubDirCustomSelect", 0);
    const std::string subDirectories = ReadText(kSectionConfig, "HtdocsSubDirToSave", kListLength);
    FillList(subDirectories_, values_.htdocsPath, subDirectories, IsHtdocsSubDirectoryEntry);
}

void SettingsDialog::ReadControls()
{
    values_.batchProgram = CutTo(ItemText(IDC_SET_BATCH_PROGRAM), kStartBatchLength);
    values_.saveMessages = IsButtonChecked(IDC_SET_SAVE_MESSAGES);
    for (int n = 0; n < 4; ++n) {
        values_.additionalPaths[n] = CutTo(ItemText(kAdditionalPathIds[n]), kSaveFilesLength);
        values_.additionalActive[n] = IsButtonChecked(kAdditionalActiveIds[n]);
    }
    values_.batchActive = IsButtonChecked(IDC_SET_BATCH_ACTIVE);
    values_.saveWeb = IsButtonChecked(IDC_SET_SAVE_WEB);
    values_.onlyAlarmMessages = IsButtonChecked(IDC_SET_ONLY_ALARM_MESSAGES);
    values_.saveHtdocs = IsButtonChecked(IDC_SET_SAVE_HTDOCS);
    values_.htdocsPath = CutTo(ItemText(IDC_SET_HTDOCS_PATH), kShortTextLength);
    values_.saveMySql = IsButtonChecked(IDC_SET_SAVE_MYSQL);
    values_.password = CutTo(ItemText(IDC_SET_PASSWORD), kShortTextLength);
    values_.userName = CutTo(ItemText(IDC_SET_USER_NAME), kShortTextLength);
    values_.databaseChoice = IsButtonChecked(IDC_SET_ALL_DATABASES)        ? 0
                             : IsButtonChecked(IDC_SET_SELECTED_DATABASES) ? 1
                                                                           : -1;
    values_.saveDesktop = IsButtonChecked(IDC_SET_SAVE_DESKTOP);
    values_.subDirectoryChoice = IsButtonChecked(IDC_SET_ALL_SUBDIRECTORIES)       ? 0
                                 : IsButtonChecked(IDC_SET_CHECKED_SUBDIRECTORIES) ? 1
                                                                                   : -1;
}

void SettingsDialog::PushValues()
{
    SetItemText(IDC_SET_BATCH_PROGRAM, values_.batchProgram);
    CheckButton(IDC_SET_SAVE_MESSAGES, values_.saveMessages);
    for (int n = 0; n < 4; ++n) {
        SetItemText(kAdditionalPathIds[n], values_.additionalPaths[n]);
        CheckButton(kAdditionalActiveIds[n], values_.additionalActive[n]);
    }
    CheckButton(IDC_SET_BATCH_ACTIVE, values_.batchActive);
    CheckButton(IDC_SET_SAVE_WEB, values_.saveWeb);
    CheckButton(IDC_SET_ONLY_ALARM_MESSAGES, values_.onlyAlarmMessages);
    CheckButton(IDC_SET_SAVE_HTDOCS, values_.saveHtdocs);
    SetItemText(IDC_SET_HTDOCS_PATH, values_.htdocsPath);
    CheckButton(IDC_SET_SAVE_MYSQL, values_.saveMySql);
    SetItemText(IDC_SET_PASSWORD, values_.password);
    SetItemText(IDC_SET_USER_NAME, values_.userName);
    // A choice other than 0 or 1 selects neither button.
    CheckButton(IDC_SET_ALL_DATABASES, values_.databaseChoice == 0);
    CheckButton(IDC_SET_SELECTED_DATABASES, values_.databaseChoice == 1);
    CheckButton(IDC_SET_SAVE_DESKTOP, values_.saveDesktop);
    CheckButton(IDC_SET_ALL_SUBDIRECTORIES, values_.subDirectoryChoice == 0);
    CheckButton(IDC_SET_CHECKED_SUBDIRECTORIES, values_.subDirectoryChoice == 1);
}

bool SettingsDialog::OnButtonClicked(int id)
{
    if (id == IDOK || id == IDCANCEL)
        return Dialog::OnButtonClicked(id);
    ReadControls();
    switch (id) {
    case IDC_SET_SAVE_MESSAGES:
        ApplySaveMessagesRule();
        return true;
    case IDC_SET_BATCH_ACTIVE:
        ApplyBatchRule();
        return true;
    case IDC_SET_SAVE_WEB:
        ApplySaveWebRule();
        return true;
    case IDC_SET_SAVE_HTDOCS:
        ApplySaveHtdocsRule();
        return true;
    case IDC_SET_ALL_SUBDIRECTORIES:
    case IDC_SET_CHECKED_SUBDIRECTORIES:
        ApplySubDirectoryChoiceRule();
        return true;
    case IDC_SET_SAVE_MYSQL:
        ApplySaveMySqlRule();
        return true;
    case IDC_SET_ALL_DATABASES:
    case IDC_SET_SELECTED_DATABASES:
        ApplyDatabaseChoiceRule();
        return true;
    case IDC_SET_TEST_BATCH:
        TestBatchProgram();
        return true;
    default:
        break;
    }
    for (int n = 0; n < 4; ++n) {
        if (id == kAdditionalActiveIds[n]) {
            ApplyAdditionalDirectoryRule(n);
            return true;
        }
    }
    return false;
}

// --- enabling rules: a disabled control keeps its check state ------------

void SettingsDialog::ApplySaveMessagesRule()
{
    EnableItem(IDC_SET_ONLY_ALARM_MESSAGES, values_.saveMessages);
}

void SettingsDialog::ApplyBatchRule()
{
    EnableItem(IDC_SET_BATCH_PROGRAM, values_.batchActive);
    EnableItem(IDC_SET_TEST_BATCH, values_.batchActive);
}

void SettingsDialog::ApplyAdditionalDirectoryRule(int n)
{
    EnableItem(kAdditionalPathIds[n], values_.additionalActive[n]);
}

void SettingsDialog::ApplySaveWebRule()
{
    if (values_.saveWeb) {
        EnableItem(IDC_SET_SAVE_HTDOCS);
        EnableItem(IDC_SET_SAVE_MYSQL);
        ApplySaveHtdocsRule();
        ApplySaveMySqlRule();
        return;
    }
    for (int id : {IDC_SET_SAVE_HTDOCS, IDC_SET_HTDOCS_PATH, IDC_SET_SUBDIRECTORY_LIST, IDC_SET_ALL_SUBDIRECTORIES,
                   IDC_SET_CHECKED_SUBDIRECTORIES, IDC_SET_SAVE_MYSQL, IDC_SET_DATABASE_LIST, IDC_SET_USER_NAME_LABEL,
                   IDC_SET_USER_NAME, IDC_SET_PASSWORD_LABEL, IDC_SET_PASSWORD, IDC_SET_ALL_DATABASES,
                   IDC_SET_SELECTED_DATABASES})
        EnableItem(id, false);
}

void SettingsDialog::ApplySaveHtdocsRule()
{
    for (int id : {IDC_SET_HTDOCS_PATH, IDC_SET_ALL_SUBDIRECTORIES, IDC_SET_CHECKED_SUBDIRECTORIES})
        EnableItem(id, values_.saveHtdocs);
    if (values_.saveHtdocs)
        ApplySubDirectoryChoiceRule();
    else
        EnableItem(IDC_SET_SUBDIRECTORY_LIST, false);
}

void SettingsDialog::ApplySubDirectoryChoiceRule()
{
    EnableItem(IDC_SET_SUBDIRECTORY_LIST, values_.subDirectoryChoice != 0);
}

void SettingsDialog::ApplySaveMySqlRule()
{
    for (int id : {IDC_SET_USER_NAME_LABEL, IDC_SET_USER_NAME, IDC_SET_PASSWORD_LABEL, IDC_SET_PASSWORD,
                   IDC_SET_ALL_DATABASES, IDC_SET_SELECTED_DATABASES})
        EnableItem(id, values_.saveMySql);
    if (values_.saveMySql)
        ApplyDatabaseChoiceRule();
    else
        EnableItem(IDC_SET_DATABASE_LIST, false);
}

void SettingsDialog::ApplyDatabaseChoiceRule()
{
    EnableItem(IDC_SET_DATABASE_LIST, values_.databaseChoice != 0);
}

// --- OK: the configuration file key by key, then the save settings -------

void SettingsDialog::OnOK()
{
    ReadControls();
    SaveSettingsRecord options = CurrentSaveSettings();
    std::string file;
    // Not written: the dialog stays open with what the user entered, and
    // the save settings keep the options the file still holds.
    if (!StoreSettings(options, file)) {
        win::ShowMessageBox(win::FormatText(IDS_FILE_WRITE_FAILED, file), win::LoadText(IDS_ERROR_CAPTION),
                            win::kBoxIconWarning);
        return;
    }
    // One change of the record: a save run reading meanwhile sees either
    // the old options or the new ones.
    UpdateSaveSettings([&options](SaveSettingsRecord& record) { CopySaveOptions(options, record); });
    Dialog::OnOK();
}

// Every key of this OK in one update of the file: all of them or none.
bool SettingsDialog::StoreSettings(SaveSettingsRecord& options, std::string& file)
{
    ProfileFileUpdate update(kConfigFile);
    file = update.Path();

    options.SaveMSG = values_.saveMessages ? 1 : 0;
    options.OnlySaveAlrMSG = values_.saveMessages && values_.onlyAlarmMessages ? 1 : 0;
    WriteFlag(update, "SaveMSG", options.SaveMSG != 0);
    WriteFlag(update, "OnlySaveAlrMSG", options.OnlySaveAlrMSG != 0);

    options.SaveDesktop = values_.saveDesktop ? 1 : 0;
    WriteFlag(update, "SaveDesktop", values_.saveDesktop);

    if (values_.saveWeb) {
        StoreWebSettings(options, update);
    } else {
        // Every other web key keeps its value, in memory and in the file.
        options.SaveWeb = 0;
        WriteFlag(update, "SaveWeb", false);
    }

    options.AciveStartBatch = values_.batchActive ? 1 : 0;
    WriteFlag(update, "AciveStartBatch", values_.batchActive);
    if (values_.batchActive) {
        options.StartBatch = values_.batchProgram;
        WriteText(update, kSectionConfig, "StartBatch", values_.batchProgram);
    }

    for (int n = 0; n < 4; ++n) {
        const std::string number = std::to_string(n + 1);
        AciveSaveFilesField(options, n) = values_.additionalActive[n] ? 1 : 0;
        WriteFlag(update, ("AciveSaveFiles" + number).c_str(), values_.additionalActive[n]);
        if (values_.additionalActive[n]) {
            SaveFilesField(options, n) = values_.additionalPaths[n];
            WriteText(update, kSectionConfig, ("SaveFiles" + number).c_str(), values_.additionalPaths[n]);
        }
    }

    return update.Commit();
}

void SettingsDialog::StoreWebSettings(SaveSettingsRecord& options, ProfileFileUpdate& update)
{
    options.SaveWeb = 1;
    WriteFlag(update, "SaveWeb", true);
    options.SaveHtdocs = values_.saveHtdocs ? 1 : 0;
    WriteFlag(update, "SaveHtdocs", values_.saveHtdocs);
    WriteText(update, kSectionConfig, "WebHtdocsPath", values_.htdocsPath);

    // The key "SaveSubHtdocs" is read at start only and never written here:
    // the flag follows the list for this run of the program.
    const std::string subDirectories = subDirectories_.JoinRows(values_.subDirectoryChoice == 0);
    options.SaveSubHtdocs = subDirectories.empty() ? 0 : 1;
    if (!subDirectories.empty())
        WriteText(update, kSectionConfig, "HtdocsSubDirToSave", subDirectories);
    WriteNumber(update, kSectionMySql, "HtdocsSubDirCustomSelect", values_.subDirectoryChoice);

    if (!values_.saveMySql) {
        options.SaveMySql = 0;
        WriteFlag(update, "SaveMySql", false);
        return;
    }
    options.SaveMySql = 1;
    WriteFlag(update, "SaveMySql", true);
    WriteNumber(update, kSectionMySql, "SaveSpecifiedDatabases", values_.databaseChoice);
    if (values_.databaseChoice > 0) {
        const std::string databases = databases_.JoinRows(false);
        if (!databases.empty())
            WriteText(update, kSectionMySql, "DumpDatabase", databases);
    }
    WriteText(update, kSectionMySql, "UserName", values_.userName);
    WriteText(update, kSectionMySql, "Password", values_.password);
}

// --- Test: runs the batch command line once, as the save run would ------

void SettingsDialog::TestBatchProgram()
{
    const std::string question = win::FormatText(IDS_START_BATCH_QUESTION, values_.batchProgram);
    if (!AskYesNo(question, win::LoadText(IDS_CONFIRM_CAPTION), false))
        return;
    // The operator's own command line, passed on as typed; the dialog
    // waits until it ends.
    win::RunCommandInterpreter(values_.batchProgram);
}
