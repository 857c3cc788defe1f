#pragma once
// The small modal dialog in which the user picks a folder from a tree of
// drives and folders. The caller sets Prompt and InitialPath (and the
// title), runs it, and on OK reads GetSelectedPath.
#include "controls/FolderTree.h"
#include "win/Dialog.h"

#include <string>

class FolderBrowserDialog : public win::Dialog {
public:
    explicit FolderBrowserDialog(HWND parent = nullptr);

    void SetTitle(const std::string& title) { title_ = title; }
    // The full path of the item last selected in the tree; empty until a
    // selection happens.
    const std::string& GetSelectedPath() const { return selectedPath_; }
    FolderTree& Tree() { return tree_; }

    // Shown above the tree.
    std::string Prompt = "Select the folder where the search is to begin.";
    // Opened and selected when the dialog opens; the working directory
    // when empty. Without trailing backslash.
    std::string InitialPath;

protected:
    bool OnInitDialog() override;
    bool OnNotify(int id, const NMHDR& header, LRESULT& result) override;
    void OnDestroy() override;

private:
    std::string title_ = "Search for Folder";
    std::string selectedPath_;
    FolderTree tree_;
};
