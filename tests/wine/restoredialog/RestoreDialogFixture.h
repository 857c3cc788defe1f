#pragma once
// The restore dialog opened modeless and driven by messages, over an
// installation on Q: (a scratch folder) with the working directory
// Q:\work, both desktops in a scratch folder, a real save run to make
// keepsets, and boxes answered here: Yes to every question, OK otherwise.
#include "ui/RestoreDialog.h"
#include "support/ReportReceiver.h"
#include "support/WineHost.h"
#include "win/MessageBoxes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace restoredialogtest {

using Lines = std::vector<std::string>;
// The plain files directly inside each directory, by name, with their bytes.
using Installation = std::map<std::string, std::map<std::string, std::string>>;

struct Box {
    std::string text;
    std::string caption;
    unsigned style;
};

class RestoreDialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A save run of the prepared installation into `directory`, with voice
    // messages, desktop and additional directory 1 (Q:\extra).
    void SaveInto(const std::string& directory);
    // The installation's files as they are now.
    Installation Snapshot() const;
    // Work done after a save that a restore is to undo.
    void ChangeTheInstallation();

    // Opens the dialog modeless; its folder browser answers with `chosen`
    // (Cancel while empty) and records what it was asked.
    void Open();

    HWND Control(int id) const { return GetDlgItem(dialog_->Window(), id); }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    bool Checked(int id) const { return IsDlgButtonChecked(dialog_->Window(), id) == BST_CHECKED; }
    std::string SummaryText() const;

    // Keepset list rows: the texts of the four columns; the entry number.
    std::vector<Lines> KeepsetRows() const;
    LPARAM KeepsetRowEntry(int row) const;
    // A mouse click on a keepset row (-1: on an empty area): the list
    // selects the row, then tells the dialog of the click.
    void ClickKeepsetRow(int row);
    // A selection changed with the keyboard: no click notification.
    void SelectKeepsetRowByKeyboard(int row);

    Lines CustomRowTexts() const;
    void CheckCustomRow(int row);

    // Sets one radio of a pair as a click does, and tells the dialog.
    void ClickRadio(int id, int otherId);
    void Press(int id);

    std::string ConfigValue(const std::string& section, const std::string& key) const;

    qztest::ScratchFolder install_{"rdlg-install"};
    qztest::ScratchFolder desktops_{"rdlg-desktops"};
    qztest::ScratchFolder keep_{"rdlg-keep"};
    std::unique_ptr<qztest::ReportReceiver> receiver_;
    std::unique_ptr<RestoreDialog> dialog_;
    std::vector<Box> boxes_;
    // The questions with a warning icon (a keepset not saved to its end, a
    // damaged keepset); Yes to every other question.
    int answerWarnings_ = win::kAnswerYes;
    std::string chosen_;
    std::vector<RestoreDialog::FolderRequest> browserRequests_;

private:
    std::string startDirectory_;
    qztest::SavedRegistryValue commonDesktop_;
    qztest::SavedRegistryValue userDesktop_;
    qztest::SavedRegistryValue userShellDesktop_;
};

}  // namespace restoredialogtest
