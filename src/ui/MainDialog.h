#pragma once
// The program's main window: the save directory with its Browse button,
// the commands (save, restore, settings, recovery disk, run log) and the
// colour message list in which a save run reports every step.
//
// It owns the user's side of the save run: it fills the run fields of the
// save settings, starts the run on its worker thread and takes the run's
// two messages, WM_USER+1 (the run has ended) and WM_USER+2 (one report
// line). Started with a save directory on the command line it saves at once
// and ends the program when the run is over (unattended).
#include "controls/ColourMessageList.h"
#include "controls/OwnerDrawButton.h"
#include "win/Dialog.h"

#include <string>

class MainDialog : public win::Dialog {
public:
    MainDialog();
    ~MainDialog() override;

    // The save-directory text, exchanged with edit 1000. Set before the
    // dialog opens to a directory from the command line.
    std::string SaveDirectoryText;

    bool IsBusy() const { return Busy != 0; }

protected:
    bool OnInitDialog() override;
    bool OnButtonClicked(int id) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // The settings and restore dialogs, each run modally with no parent
    // window; their results are not looked at.
    virtual void OpenSettings();
    virtual void OpenRestore();
    // Ends the program at the end of an unattended save run.
    virtual void EndProgram(int exitStatus);

private:
    void AttachControls();
    void AddAboutToSystemMenu();
    void GiveButtonsTheirIcons();
    void ShowSaveDirectoryText();
    void ReadSaveDirectoryText();

    void OnBrowse();
    void OnSave();
    void OnShowLogfile();
    void OnCreateRecoveryDisk();
    LRESULT OnSaveRunEnded();
    LRESULT OnReportLine(WPARAM failed, LPARAM text);
    void ShowReportLines();
    bool OnSetCursor();
    bool OnSystemCommand(WPARAM command);
    bool OnPaint();
    bool OnMeasureItem(MEASUREITEMSTRUCT& measure);
    bool OnDrawItem(const DRAWITEMSTRUCT& draw);
    void SetSaveButtonIdle(bool idle);

    ColourMessageList messageList_;
    int Busy = 0;
    OwnerDrawButton exitButton_;
    OwnerDrawButton settingsButton_;
    OwnerDrawButton recoveryDiskButton_;
    OwnerDrawButton saveButton_;
    OwnerDrawButton showLogfileButton_;
    OwnerDrawButton restoreButton_;
    // Icon 128 of the resource module, loaded with the object: at the
    // system's icon size and at its small-icon size.
    HICON icon_;
    HICON smallIcon_;
};
