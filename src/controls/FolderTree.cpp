#include "controls/FolderTree.h"

#include "controls/FolderListing.h"
#include "controls/FolderPaths.h"
#include "win/Files.h"
#include "win/ShellIcons.h"

#include <vector>

namespace {

// A folder's own name has at most 255 characters.
constexpr int kItemTextRoom = 260;

}  // namespace

void FolderTree::Detach()
{
    if (window_ != nullptr && imageList_ != nullptr && IsWindow(window_))
        TreeView_SetImageList(window_, nullptr, TVSIL_NORMAL);
    imageList_ = nullptr;
    window_ = nullptr;
}

bool FolderTree::AttachSystemImageList()
{
    if (imageList_ != nullptr) {
        TreeView_SetImageList(window_, nullptr, TVSIL_NORMAL);
        imageList_ = nullptr;
    }
    const auto shellList = static_cast<HIMAGELIST>(win::SystemSmallImageList());
    if (shellList == nullptr) {
        lastError_ = "Cannot retrieve the Handle of SystemImageList!";
        return false;
    }
    int width = 0;
    int height = 0;
    if (!ImageList_GetIconSize(shellList, &width, &height)) {
        lastError_ = "Cannot Attach SystemImageList-Handle";
        return false;
    }
    imageList_ = shellList;
    TreeView_SetImageList(window_, imageList_, TVSIL_NORMAL);
    return true;
}

bool FolderTree::DisplayTree()
{
    const LONG_PTR style = GetWindowLongPtrA(window_, GWL_STYLE);
    if ((style & TVS_EDITLABELS) != 0)
        SetWindowLongPtrA(window_, GWL_STYLE, style & ~static_cast<LONG_PTR>(TVS_EDITLABELS));
    TreeView_DeleteAllItems(window_);
    if (!AttachSystemImageList())
        return false;

    TreeView_DeleteAllItems(window_);
    std::vector<std::string> drives;
    if (!win::LogicalDriveStrings(drives)) {
        lastError_ = "Error Getting Logical DriveStrings!";
        return false;
    }
    for (const auto& drive : drives) {
        const HTREEITEM item = AddItem(TVI_ROOT, drive);
        // A drive without medium cannot be searched: no expand button.
        if (item != nullptr && HasSubFolder(drive))
            AddPlaceholder(item);
    }
    rootPath_.clear();
    return true;
}

HTREEITEM FolderTree::AddItem(HTREEITEM parent, const std::string& path)
{
    int icon = 0;
    int openIcon = 0;
    if (!win::SmallIconIndexes(WithTrailingBackslash(path), icon, openIcon)) {
        lastError_ = "Error Gettting SystemFileInfo!";
        return nullptr;
    }
    std::string text = FolderItemText(WithoutTrailingBackslash(path), parent == TVI_ROOT);

    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = &text[0];
    insert.item.iImage = icon;
    insert.item.iSelectedImage = openIcon;
    return reinterpret_cast<HTREEITEM>(SendMessageA(window_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void FolderTree::AddPlaceholder(HTREEITEM parent)
{
    char empty[1] = "";
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = empty;
    SendMessageA(window_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
}

void FolderTree::DeleteChildren(HTREEITEM item)
{
    HTREEITEM child = TreeView_GetChild(window_, item);
    while (child != nullptr) {
        const HTREEITEM next = TreeView_GetNextSibling(window_, child);
        TreeView_DeleteItem(window_, child);
        child = next;
    }
}

void FolderTree::SetRedraw(bool on)
{
    SendMessageA(window_, WM_SETREDRAW, on ? TRUE : FALSE, 0);
}

void FolderTree::ReadFolder(HTREEITEM parent, const std::string& path)
{
    const std::vector<std::string> subFolders = ReadSubFolders(path);
    SetRedraw(false);
    const HCURSOR previousCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    for (const auto& subFolder : subFolders) {
        const HTREEITEM item = AddItem(parent, subFolder);
        if (item != nullptr && HasSubFolder(subFolder))
            AddPlaceholder(item);
    }
    SetRedraw(true);
    SetCursor(previousCursor);
}

LRESULT FolderTree::OnItemExpanded(const NMTREEVIEWA& change)
{
    const HTREEITEM item = change.itemNew.hItem;
    const UINT state = TreeView_GetItemState(window_, item, TVIS_EXPANDED);
    DeleteChildren(item);
    if ((state & TVIS_EXPANDED) != 0)
        ReadFolder(item, GetFullPath(item));
    else
        AddPlaceholder(item);
    return 0;
}

std::string FolderTree::ItemText(HTREEITEM item) const
{
    char buffer[kItemTextRoom] = "";
    TVITEMA query = {};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = buffer;
    query.cchTextMax = sizeof buffer;
    if (!SendMessageA(window_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)))
        return std::string();
    return query.pszText != nullptr ? std::string(query.pszText) : std::string();
}

std::string FolderTree::GetFullPath(HTREEITEM item) const
{
    std::vector<std::string> texts;
    for (HTREEITEM at = item; at != nullptr; at = TreeView_GetParent(window_, at))
        texts.insert(texts.begin(), ItemText(at));
    return JoinItemTexts(texts);
}

HTREEITEM FolderTree::FindChild(HTREEITEM parent, const std::string& upperCaseText) const
{
    HTREEITEM child = parent == TVI_ROOT ? TreeView_GetRoot(window_) : TreeView_GetChild(window_, parent);
    for (; child != nullptr; child = TreeView_GetNextSibling(window_, child)) {
        if (UpperCased(ItemText(child)) == upperCaseText)
            return child;
    }
    return nullptr;
}

bool FolderTree::SetSelectedPath(const std::string& path)
{
    bool onADrive = false;
    for (HTREEITEM top = TreeView_GetRoot(window_); top != nullptr && !onADrive;
         top = TreeView_GetNextSibling(window_, top))
        onADrive = StartsWithIgnoringCase(path, ItemText(top));
    win::FoundEntry found;
    if (!onADrive || !win::DirectorySearch(path).Next(found))
        return false;

    HTREEITEM current = TVI_ROOT;
    bool foundAll = true;
    for (const auto& component : UpperCaseComponents(path)) {
        SetRedraw(false);
        const HTREEITEM child = FindChild(current, component);
        if (child == nullptr) {
            foundAll = false;
            break;
        }
        // A program's request to open an item raises the expansion
        // notification only while the item was never opened; reset it so
        // that it is read from disk again.
        if ((TreeView_GetItemState(window_, child, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) != 0) {
            TreeView_Expand(window_, child, TVE_EXPAND);
            TreeView_Expand(window_, child, TVE_COLLAPSE | TVE_COLLAPSERESET);
            AddPlaceholder(child);
        }
        TreeView_Expand(window_, child, TVE_EXPAND);
        current = child;
    }
    if (foundAll && current != TVI_ROOT)
        TreeView_SelectItem(window_, current);
    SetRedraw(true);
    return foundAll && current != TVI_ROOT;
}
