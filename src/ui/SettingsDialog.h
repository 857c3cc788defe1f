#pragma once
// The settings dialog: what a save run includes. It opens with the save
// settings of the process and the keys of the configuration file, lists the
// htdocs sub-directories and the MySQL databases it finds on disk, and on
// OK writes the configuration file and updates the save settings at once,
// so the next save run uses the new options. Cancel changes nothing.
#include "controls/CheckBoxList.h"
#include "win/Dialog.h"

#include <string>

struct SaveSettingsRecord;
class ProfileFileUpdate;

class SettingsDialog : public win::Dialog {
public:
    // Without an owner the application's main window owns it.
    explicit SettingsDialog(HWND owner = nullptr);

protected:
    bool OnInitDialog() override;
    bool OnButtonClicked(int id) override;
    void OnOK() override;

private:
    // One member per control, exchanged with the controls both ways.
    struct Values {
        std::string batchProgram;
        bool saveMessages = false;
        std::string additionalPaths[4];
        bool additionalActive[4] = {};
        bool batchActive = false;
        bool saveWeb = false;
        bool onlyAlarmMessages = false;
        bool saveHtdocs = false;
        std::string htdocsPath;
        bool saveMySql = false;
        std::string password;
        std::string userName;
        int databaseChoice = -1;      // 0 all, 1 the checked ones, -1 none selected
        bool saveDesktop = false;
        int subDirectoryChoice = -1;  // 0 all, 1 the checked ones, -1 none selected
    };

    void LoadFromSaveSettings(const SaveSettingsRecord& settings);
    void LimitEditLengths();
    void FillDatabaseList();
    void FillSubDirectoryList();
    void ReadControls();
    void PushValues();

    void ApplySaveMessagesRule();
    void ApplyBatchRule();
    void ApplyAdditionalDirectoryRule(int n);
    void ApplySaveWebRule();
    void ApplySaveHtdocsRule();
    void ApplySubDirectoryChoiceRule();
    void ApplySaveMySqlRule();
    void ApplyDatabaseChoiceRule();

    bool StoreSettings(SaveSettingsRecord& options, std::string& file);
    void StoreWebSettings(SaveSettingsRecord& options, ProfileFileUpdate& update);
    void TestBatchProgram();

    Values values_;
    CheckBoxList subDirectories_;
    CheckBoxList databases_;
};
