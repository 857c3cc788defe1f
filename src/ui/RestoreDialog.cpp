#include "ui/RestoreDialog.h"

#include "config/ConfigFile.h"
#include "config/ProfileFileUpdate.h"
#include "controls/FolderBrowserDialog.h"
#include "resource.h"
#include "restore/RestoreRules.h"
#include "restore/RunRestore.h"
#include "keepset/KeepsetRecordFormat.h"
#include "keepset/KeepsetSlot.h"
#include "ui/KeepsetDescription.h"
#include "win/Files.h"
#include "win/MessageBoxes.h"
#include "win/ProgramFile.h"
#include "win/Profile.h"
#include "win/Texts.h"

#include <iterator>

namespace {

// The save side writes a save directory of up to 511 characters: a shorter
// read would judge a long directory missing and clear its entry.
constexpr std::size_t kPathLength = 511;
constexpr std::size_t kDateTimeLength = 39;
constexpr std::size_t kLastKeepsetDirLength = 511;

constexpr int kCustomListColumnWidth = 500;

struct Column {
    unsigned textId;
    int width;
};
constexpr Column kKeepsetColumns[] = {
    {IDS_COLUMN_DATE, 65},
    {IDS_COLUMN_TIME, 55},
    {IDS_COLUMN_SAVE_DIRECTORY, 210},
    {IDS_COLUMN_SAVE_TYPE, 368},
};

// The keys cleared in an entry whose directory is gone; SaveAlrMsgOnly
// stays as it is.
const char* const kClearedKeys[] = {kKeyPath, kKeyDate, kKeyTime, kKeySaveMsg, kKeySaveDesktop, kKeySaveWeb,
                                    kKeySaveMySql, "SaveAdd1", "SaveAdd2", "SaveAdd3", "SaveAdd4"};

// ---- List-view rows -------------------------------------------------------

void InsertColumn(HWND list, int index, const std::string& heading, int width)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(heading.c_str());
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

int RowCount(HWND list)
{
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

// Appends a row with its text in column 0 and the given item data.
int AppendRow(HWND list, const std::string& text, LPARAM data = 0)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = RowCount(list);
    item.pszText = const_cast<char*>(text.c_str());
    item.lParam = data;
    return static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void SetRowText(HWND list, int row, int column, const std::string& text)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

LPARAM RowData(HWND list, int row)
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return 0;
    return item.lParam;
}

int SelectedRow(HWND list)
{
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// ---- Records ----------------------------------------------------------------

SaveTypeTexts LoadSaveTypeTexts()
{
    SaveTypeTexts texts;
    texts.alarmAndTools = win::LoadText(IDS_TYPE_ALARM_AND_TOOLS);
    texts.voiceMessages = win::LoadText(IDS_TYPE_VOICE_MESSAGES);
    texts.desktop = win::LoadText(IDS_TYPE_DESKTOP);
    texts.webServer = win::LoadText(IDS_TYPE_WEB_SERVER);
    texts.mySql = win::LoadText(IDS_TYPE_MYSQL);
    return texts;
}

// A record describes every keepset it was written for as holding the
// alarm and tool configuration. A save that did not end, or ended with
// errors, is marked in front.
std::string RecordSaveType(const std::string& file, const std::string& section)
{
    const std::string saveType = SaveTypeText(LoadSaveTypeTexts(), true, ReadKeepsetFlags(file, section));
    switch (KeepsetStateOf(win::ReadProfileString(file, section, kKeyState, "", kDateTimeLength))) {
    case KeepsetState::Running:
        return win::LoadText(IDS_TYPE_INCOMPLETE) + saveType;
    case KeepsetState::Errors:
        return win::LoadText(IDS_TYPE_WITH_ERRORS) + saveType;
    default:
        return saveType;
    }
}

// The entry's keys all cleared in one update of the file, or none.
bool ClearKeepsetEntry(const std::string& section)
{
    ProfileFileUpdate update(kConfigFile);
    for (const char* key : kClearedKeys)
        update.Write(section, key, "");
    return update.Commit();
}

void ReportFileNotWritten(const std::string& file)
{
    win::ShowMessageBox(win::FormatText(IDS_FILE_WRITE_FAILED, file), win::LoadText(IDS_ERROR_CAPTION),
                        win::kBoxIconWarning);
}

ProbedSubDirectories ProbeSubDirectories(const std::string& directory)
{
    const auto exists = [&directory](const char* sub) { return win::EntryExists(directory + ".\\" + sub); };
    ProbedSubDirectories probed;
    probed.qzt = exists("qzt");
    probed.db1 = exists("db1");
    probed.dbv1 = exists("dbv1");
    probed.desktop = exists("desktop");
    probed.web = exists("web");
    probed.mysql = exists("mysql");
    probed.webMysql = exists("web\\mysql");
    return probed;
}

bool RunFolderBrowser(HWND owner, const RestoreDialog::FolderRequest& request, std::string& chosen)
{
    FolderBrowserDialog browser(owner);
    browser.SetTitle(request.title);
    browser.Prompt = request.prompt;
    browser.InitialPath = request.initialPath;
    if (browser.RunModal() != IDOK)
        return false;
    chosen = browser.GetSelectedPath();
    return true;
}

}  // namespace

RestoreDialog::RestoreDialog(HWND owner) : Dialog(IDD_RESTORE, owner)
{
    chooseFolder_ = [this](const FolderRequest& request, std::string& chosen) {
        return RunFolderBrowser(Window(), request, chosen);
    };
}

bool RestoreDialog::OnInitDialog()
{
    FillKeepsetList();
    summary_.clear();
    restoreKind_ = 0;
    PrepareCustomList();
    PutMemberValues();
    ApplyEnablingRules();
    return true;
}

// The entries [Save1] to [Save19] up to the first one without a path. An
// entry whose directory is gone is cleared, so that the next save takes
// its slot, and not shown.
void RestoreDialog::FillKeepsetList()
{
    const HWND list = Item(IDC_RST_KEEPSET_LIST);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < static_cast<int>(std::size(kKeepsetColumns)); ++i)
        InsertColumn(list, i, win::LoadText(kKeepsetColumns[i].textId), kKeepsetColumns[i].width);

    bool clearingFailed = false;
    int entry = 1;
    for (; entry <= kKeepsetSlots; ++entry) {
        const std::string section = KeepsetSectionName(entry);
        const std::string path = win::ReadProfileString(kConfigFile, section, kKeyPath, "", kPathLength);
        if (path.empty())
            break;
        if (!win::EntryExists(path)) {
            clearingFailed = !ClearKeepsetEntry(section) || clearingFailed;
            continue;
        }
        const int row = AppendRow(list, win::ReadProfileString(kConfigFile, section, kKeyDate, "", kDateTimeLength),
                                  entry);
        SetRowText(list, row, 1, win::ReadProfileString(kConfigFile, section, kKeyTime, "", kDateTimeLength));
        SetRowText(list, row, 2, path);
        SetRowText(list, row, 3, RecordSaveType(kConfigFile, section));
    }
    if (clearingFailed)
        ReportFileNotWritten(ProfileFilePath(kConfigFile));
    if (entry == 1) {
        sourceKind_ = 1;
        win::ShowMessageBox(win::LoadText(IDS_NO_PREVIOUS_KEEPSET), win::ApplicationName(),
                            win::kBoxOk | win::kBoxIconInformation);
    } else {
        sourceKind_ = 0;
    }
}

void RestoreDialog::PrepareCustomList()
{
    customList_.Attach(Item(IDC_RST_CUSTOM_LIST));
    customList_.Prepare(kCustomListColumnWidth);
}

bool RestoreDialog::OnButtonClicked(int id)
{
    switch (id) {
    case IDC_RST_SOURCE_KEEPSET_LIST:
    case IDC_RST_SOURCE_OTHER_ROOT:
        OnSelectSource();
        return true;
    case IDC_RST_FULL_RESTORE:
    case IDC_RST_CUSTOM_RESTORE:
        OnSelectRestoreKind();
        return true;
    case IDC_RST_SELECT_ROOT:
        OnSelectRoot();
        return true;
    default:
        return Dialog::OnButtonClicked(id);
    }
}

// Only a mouse click on the keepset list rebuilds the custom list; a
// selection changed with the keyboard leaves it as it is.
bool RestoreDialog::OnNotify(int id, const NMHDR& header, LRESULT& result)
{
    if (id != IDC_RST_KEEPSET_LIST || header.code != static_cast<UINT>(NM_CLICK))
        return false;
    FillCustomList();
    result = 0;
    return true;
}

void RestoreDialog::OnSelectSource()
{
    TakeControlValues();
    ApplyEnablingRules();
}

void RestoreDialog::OnSelectRestoreKind()
{
    TakeControlValues();
    ApplyEnablingRules();
}

void RestoreDialog::OnSelectRoot()
{
    FolderRequest request;
    request.title = win::LoadText(IDS_SELECT_BROWSER_TITLE);
    request.prompt = win::LoadText(IDS_SELECT_BROWSER_PROMPT);
    request.initialPath = SelectStartFolder(
        win::ReadProfileString(kConfigFile, kSectionConfig, "LastKeepsetDir", "", kLastKeepsetDirLength),
        win::CurrentDirectory());
    std::string directory;
    // OK with nothing selected in the tree names no directory: taking it
    // would describe the working directory by a relative record file.
    if (!chooseFolder_ || !chooseFolder_(request, directory) || directory.empty())
        return;
    // The browser shows a name the code page cannot carry with "?", which
    // names no directory (or, as a wildcard, another one): nothing is
    // opened or written by it.
    if (directory.find_first_of("?*") != std::string::npos) {
        otherRoot_.clear();
        otherRecord_.clear();
        summary_ = win::FormatText(IDS_NO_KEEPSET_DATA, directory);
        SetItemText(IDC_RST_SUMMARY, summary_);
        return;
    }

    otherRoot_ = directory;
    otherRecord_ = RecordFilePath(directory);
    std::string date;
    std::string time;
    std::string saveType;
    if (win::EntryExists(otherRecord_)) {
        date = win::ReadProfileString(otherRecord_, kRecordSection, kKeyDate, "", kDateTimeLength);
        time = win::ReadProfileString(otherRecord_, kRecordSection, kKeyTime, "", kDateTimeLength);
        saveType = RecordSaveType(otherRecord_, kRecordSection);
    } else {
        // No record: write one from the keepset sub-directories it holds,
        // made whole beside it and moved into place.
        ProfileFileUpdate record(otherRecord_, ProfileFileUpdate::Start::Empty);
        record.Write(kRecordSection, kKeyPath, directory);
        record.Write(kRecordSection, kKeyDate, "");
        record.Write(kRecordSection, kKeyTime, "");
        const ProbedKeepset probed = DescribeProbedKeepset(ProbeSubDirectories(directory));
        if (probed.flags.saveMsg)
            record.Write(kRecordSection, kKeySaveMsg, "1");
        if (probed.flags.saveDesktop)
            record.Write(kRecordSection, kKeySaveDesktop, "1");
        if (probed.flags.saveWeb)
            record.Write(kRecordSection, kKeySaveWeb, "1");
        if (probed.flags.saveMySql)
            record.Write(kRecordSection, kKeySaveMySql, "1");
        if (!record.Commit())
            ReportFileNotWritten(record.Path());
        if (!probed.found) {
            summary_ = win::FormatText(IDS_NO_KEEPSET_DATA, directory);
            SetItemText(IDC_RST_SUMMARY, summary_);
            return;
        }
        saveType = SaveTypeText(LoadSaveTypeTexts(), probed.alarmAndTools, probed.flags);
    }
    summary_ = SelectionSummary(date, time, directory, saveType);
    SetItemText(IDC_RST_SUMMARY, summary_);
    FillCustomList();
}

// Rebuilds the custom list from the record of the current source: the
// selected list entry (only the fixed rows when no row is selected), or
// the other root's record (an empty list when none was chosen).
void RestoreDialog::FillCustomList()
{
    customList_.RemoveAllRows();
    rowItems_.clear();

    KeepsetRecordValues record;
    if (sourceKind_ == 1) {
        if (otherRecord_.empty())
            return;
        record = ReadKeepsetRecordValues(otherRecord_, kRecordSection);
    } else if (const int entry = SelectedEntry(); entry > 0) {
        record = ReadKeepsetRecordValues(kConfigFile, KeepsetSectionName(entry));
    }
    for (const CustomSelectionRow& row : CustomSelectionRows(record)) {
        const std::string text = win::LoadText(row.textId);
        customList_.AddRow(row.value.empty() ? text : AdditionalFilesText(text, row.value));
        rowItems_.push_back(row.itemCode);
    }
}

void RestoreDialog::TakeControlValues()
{
    sourceKind_ = IsButtonChecked(IDC_RST_SOURCE_OTHER_ROOT) ? 1 : IsButtonChecked(IDC_RST_SOURCE_KEEPSET_LIST) ? 0 : -1;
    restoreKind_ = IsButtonChecked(IDC_RST_CUSTOM_RESTORE) ? 1 : IsButtonChecked(IDC_RST_FULL_RESTORE) ? 0 : -1;
    summary_ = ItemText(IDC_RST_SUMMARY);
}

void RestoreDialog::PutMemberValues()
{
    CheckButton(IDC_RST_SOURCE_KEEPSET_LIST, sourceKind_ == 0);
    CheckButton(IDC_RST_SOURCE_OTHER_ROOT, sourceKind_ == 1);
    CheckButton(IDC_RST_FULL_RESTORE, restoreKind_ == 0);
    CheckButton(IDC_RST_CUSTOM_RESTORE, restoreKind_ == 1);
    SetItemText(IDC_RST_SUMMARY, summary_);
}

void RestoreDialog::ApplyEnablingRules()
{
    const bool otherRoot = sourceKind_ == 1;
    EnableItem(IDC_RST_KEEPSET_LIST, !otherRoot);
    EnableItem(IDC_RST_SELECT_ROOT, otherRoot);
    EnableItem(IDC_RST_SUMMARY, otherRoot);
    EnableItem(IDC_RST_CUSTOM_LIST, restoreKind_ == 1);
}

int RestoreDialog::SelectedEntry() const
{
    const HWND list = Item(IDC_RST_KEEPSET_LIST);
    const int row = SelectedRow(list);
    return row < 0 ? 0 : static_cast<int>(RowData(list, row));
}

RestoreRequest RestoreDialog::BuildRequest() const
{
    RestoreRequest request;
    if (sourceKind_ == 1) {
        request.source = RestoreSource::OtherRoot;
        // Without a summary nothing was chosen: the run then asks for a source.
        if (!summary_.empty() && !otherRecord_.empty()) {
            request.keepsetRoot = otherRoot_;
            request.recordFile = otherRecord_;
            request.recordSection = kRecordSection;
        }
    } else {
        request.source = RestoreSource::KeepsetList;
        request.recordFile = kConfigFile;
        if (const int entry = SelectedEntry(); entry > 0)
            request.recordSection = KeepsetSectionName(entry);
    }
    request.kind = restoreKind_ == 1 ? RestoreKind::Custom : RestoreKind::Full;
    const int rows = customList_.RowCount();
    for (int row = 0; row < rows && row < static_cast<int>(rowItems_.size()); ++row)
        request.customRows.push_back({rowItems_[static_cast<std::size_t>(row)], customList_.IsChecked(row)});
    return request;
}

// "Restore": the restore run on this thread; it closes the dialog with OK
// when it restored something.
void RestoreDialog::OnOK()
{
    TakeControlValues();
    restored_ = RunRestore(BuildRequest(), *this);
}

void RestoreDialog::ShowWaitCursor()
{
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

void RestoreDialog::ShowArrowCursor()
{
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

void RestoreDialog::CloseWithOk()
{
    EndDialog(IDOK);
}
