#pragma once
// The restore dialog (template 140): the user picks a keepset, from the
// keepset list of the configuration file or any other directory chosen
// with "Select", picks a full restore or the rows of a custom selection,
// and "Restore" runs the restore run. It closes with OK when the run
// restored something; otherwise it stays open for another choice.
#include "controls/CheckBoxList.h"
#include "restore/RestoreRequest.h"
#include "restore/RestoreRunHost.h"
#include "win/Dialog.h"

#include <functional>
#include <string>
#include <vector>

class RestoreDialog : public win::Dialog, private RestoreRunHost {
public:
    explicit RestoreDialog(HWND owner = nullptr);

    // What "Select" asks of the folder browser.
    struct FolderRequest {
        std::string title;
        std::string prompt;
        std::string initialPath;
    };
    // Runs the folder browser; true, with the chosen folder, on OK. The
    // default opens FolderBrowserDialog modally over this dialog; tests put
    // in a chooser of their own, as a modal browser cannot be driven from
    // the thread that waits for it.
    using FolderChooser = std::function<bool(const FolderRequest& request, std::string& chosen)>;
    void SetFolderChooser(FolderChooser chooser) { chooseFolder_ = std::move(chooser); }

    // Set when a restore run restored something.
    bool Restored() const { return restored_; }

protected:
    bool OnInitDialog() override;
    bool OnButtonClicked(int id) override;
    bool OnNotify(int id, const NMHDR& header, LRESULT& result) override;
    void OnOK() override;

private:
    // RestoreRunHost
    void ShowWaitCursor() override;
    void ShowArrowCursor() override;
    void CloseWithOk() override;

    void FillKeepsetList();
    void PrepareCustomList();
    void OnSelectSource();
    void OnSelectRestoreKind();
    void OnSelectRoot();
    void FillCustomList();

    void TakeControlValues();
    void PutMemberValues();
    void ApplyEnablingRules();

    // The entry number "SaveN" of the selected keepset row; 0 when no row
    // is selected.
    int SelectedEntry() const;
    RestoreRequest BuildRequest() const;

    std::string otherRoot_;
    std::string otherRecord_;
    bool restored_ = false;
    // The restore item code of each row of the custom list, by position.
    CheckBoxList customList_;
    std::vector<int> rowItems_;  // the item code of each custom row
    int restoreKind_ = -1;  // 0 full, 1 custom
    int sourceKind_ = -1;   // 0 keepset list, 1 other root
    std::string summary_;
    FolderChooser chooseFolder_;
};
