#pragma once
// The tree of drives and folders of the folder browser. The logical
// drives form the top level; a folder's sub-folders are read from disk
// each time it is opened, and a drive or folder that has sub-folders gets
// one placeholder child (an item without text) until then, so that it
// shows an expand button. Items show the shell's small icons.
//
// The dialog that holds the tree passes on its TVN_ITEMEXPANDED to
// OnItemExpanded.
#include <windows.h>
#include <commctrl.h>

#include <string>

class FolderTree {
public:
    FolderTree() = default;
    ~FolderTree() { Detach(); }
    FolderTree(const FolderTree&) = delete;
    FolderTree& operator=(const FolderTree&) = delete;

    void Attach(HWND tree) { window_ = tree; }
    // Lets go of the tree window and of the shell's image list, which
    // belongs to the shell and is never destroyed here.
    void Detach();
    HWND Window() const { return window_; }

    // Rebuilds the tree with the drives at the top level. False, with
    // LastError set, when the image list or the drives cannot be had.
    bool DisplayTree();
    // Opens the tree down to the folder and selects it. The path must
    // exist (without trailing backslash) and start with a drive of the
    // tree; case does not matter. False when it cannot be found; the items
    // opened so far stay open.
    bool SetSelectedPath(const std::string& path);
    // C: for a drive item, C:\DATA\SAVE for a folder: never a trailing
    // backslash. Empty for no item.
    std::string GetFullPath(HTREEITEM item) const;
    const std::string& LastError() const { return lastError_; }

    // TVN_ITEMEXPANDED: an opened item is read from disk anew, a closed
    // one gets back its placeholder. The notification's result.
    LRESULT OnItemExpanded(const NMTREEVIEWA& change);

private:
    bool AttachSystemImageList();
    // Adds the item for `path` as the last child of parent (TVI_ROOT for
    // the top level); nullptr when the shell gives no icon for it.
    HTREEITEM AddItem(HTREEITEM parent, const std::string& path);
    void AddPlaceholder(HTREEITEM parent);
    void DeleteChildren(HTREEITEM item);
    void ReadFolder(HTREEITEM parent, const std::string& path);
    std::string ItemText(HTREEITEM item) const;
    HTREEITEM FindChild(HTREEITEM parent, const std::string& upperCaseText) const;
    void SetRedraw(bool on);

    HWND window_ = nullptr;
    HIMAGELIST imageList_ = nullptr;
    std::string lastError_;
    std::string rootPath_;
};
