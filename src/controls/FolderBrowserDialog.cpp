#include "controls/FolderBrowserDialog.h"

#include "resource.h"
#include "win/Files.h"

FolderBrowserDialog::FolderBrowserDialog(HWND parent) : Dialog(IDD_FOLDER_BROWSER, parent) {}

bool FolderBrowserDialog::OnInitDialog()
{
    SetItemText(IDC_BRW_PROMPT, Prompt);
    SetWindowTitle(title_);
    ShowItem(IDC_BRW_PATH_LABEL, true);
    ShowItem(IDC_BRW_FILE_LABEL, false);
    tree_.Attach(Item(IDC_BRW_TREE));
    tree_.DisplayTree();
    if (InitialPath.empty())
        InitialPath = win::CurrentDirectory();
    // A folder that cannot be found leaves nothing selected.
    tree_.SetSelectedPath(InitialPath);
    return true;
}

bool FolderBrowserDialog::OnNotify(int id, const NMHDR& header, LRESULT& result)
{
    if (id != IDC_BRW_TREE)
        return false;
    // The tree of an ANSI dialog sends the ANSI notifications; both kinds
    // carry the item handle and state at the same place.
    const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
    switch (header.code) {
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW:
        result = tree_.OnItemExpanded(change);
        return true;
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        selectedPath_ = tree_.GetFullPath(change.itemNew.hItem);
        SetItemText(IDC_BRW_SELECTED_PATH, selectedPath_);
        SetItemText(IDC_BRW_PROMPT, Prompt);
        result = 0;
        return true;
    case NM_DBLCLK:
        result = 0;
        OnOK();
        return true;
    default:
        return false;
    }
}

void FolderBrowserDialog::OnDestroy()
{
    tree_.Detach();
}
