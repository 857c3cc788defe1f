#pragma once
// The process-wide save settings: the save options read from the
// configuration file at start (LoadSaveSettings) and changed by the settings
// dialog, and the run fields the main dialog sets before a save run.
//
// The user-interface thread writes them while a save run reads them on its
// worker thread, so every access goes through one lock: readers get copies,
// and a text is always seen whole, never half written.
#include <windows.h>

#include <string>

struct SaveSettingsRecord {
    int SaveMSG = 0;
    int OnlySaveAlrMSG = 0;
    int SaveDesktop = 1;
    int SaveWeb = 0;
    int SaveHtdocs = 0;
    int SaveSubHtdocs = 0;
    int SaveMySql = 0;
    int AciveStartBatch = 0;
    std::string StartBatch;       // up to 511 characters
    int AciveSaveFiles1 = 0;
    int AciveSaveFiles2 = 0;
    int AciveSaveFiles3 = 0;
    int AciveSaveFiles4 = 0;
    std::string SaveFiles1;       // up to 255 characters each
    std::string SaveFiles2;
    std::string SaveFiles3;
    std::string SaveFiles4;

    int WebServerKind = 0;        // 0 none, 1 "Apache", 2 "Apache2" or "QZ_Apache"
    std::string InstallDrive;     // at most 2 characters, such as "C:"
    std::string DefaultSaveDir;   // up to 255 characters
    int Unattended = 0;
    HWND MainWindow = nullptr;
    std::string SaveDir;          // up to 511 characters, date patterns expanded
    std::string SaveDirAsTyped;   // the same before the expansion, for retention
    std::string LogPath;          // up to 79 characters

    // Additional directory k (1 to 4): its flag and its path.
    int AciveSaveFiles(int k) const;
    const std::string& SaveFiles(int k) const;
};

// Usable lengths of the texts.
constexpr std::size_t kStartBatchLength = 511;
constexpr std::size_t kSaveFilesLength = 255;
constexpr std::size_t kInstallDriveLength = 2;
constexpr std::size_t kDefaultSaveDirLength = 255;
constexpr std::size_t kSaveDirLength = 511;
constexpr std::size_t kLogPathLength = 79;

// A copy of the whole record, taken under the lock.
SaveSettingsRecord CurrentSaveSettings();

// One field, copied under the lock: SaveSetting(&SaveSettingsRecord::SaveDir).
template <typename T>
T SaveSetting(T SaveSettingsRecord::*field);

// Changes the record under the lock. Texts are cut to their usable lengths
// afterwards, so no caller can store more than a reader expects.
template <typename Change>
void UpdateSaveSettings(Change change);

// Back to the start state: zeros and empty texts, SaveDesktop = 1.
void ResetSaveSettings();

// --- implementation of the templates -------------------------------------
#include <mutex>

namespace save_settings_detail {
std::mutex& Lock();
SaveSettingsRecord& Record();
void CutToLengths(SaveSettingsRecord& record);
}  // namespace save_settings_detail

template <typename T>
T SaveSetting(T SaveSettingsRecord::*field)
{
    std::lock_guard<std::mutex> guard(save_settings_detail::Lock());
    return save_settings_detail::Record().*field;
}

template <typename Change>
void UpdateSaveSettings(Change change)
{
    std::lock_guard<std::mutex> guard(save_settings_detail::Lock());
    change(save_settings_detail::Record());
    save_settings_detail::CutToLengths(save_settings_detail::Record());
}
