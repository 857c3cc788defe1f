#pragma once
// The settings dialog opened modeless on a prepared installation: a
// configuration file, save settings as LoadSaveSettings leaves them, an
// htdocs directory and a MySQL data directory. The tests change the
// controls with the messages a user's clicks and typing produce.
#include "config/SaveSettings.h"
#include "support/ProfileFiles.h"
#include "support/WineHost.h"
#include "ui/SettingsDialog.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace settingstest {

// A list row: its text and whether it is checked.
using Rows = std::vector<std::pair<std::string, bool>>;

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The configuration file every test starts from, and the save settings
    // that go with it.
    std::string StandardConfig() const;
    static void LoadStandardSaveSettings();
    static void WriteConfig(const std::string& content);
    static qztest::ProfileContent ConfigContent();
    // The key's value, or "<missing>".
    static std::string Key(const std::string& section, const std::string& key);

    void Open();
    HWND Control(int id) const;
    bool Checked(int id) const;
    bool Enabled(int id) const;
    std::string Text(int id) const;
    // Sets the box and reports the click, as a mouse click does.
    void Click(int id, bool checked);
    // Selects one radio button of a pair and reports the click.
    void SelectRadio(int id, int otherId);
    void Type(int id, const std::string& text);
    void Press(int id);
    Rows ListRows(int listId) const;
    void SetRowChecked(int listId, const std::string& name, bool checked);

    qztest::ScratchFolder data_{"settings-data"};
    qztest::ScratchFolder htdocs_{"settings-htdocs"};
    qztest::ScratchFolder work_{"settings-work"};
    std::unique_ptr<SettingsDialog> dialog_;

private:
    std::string startDirectory_;
};

}  // namespace settingstest
