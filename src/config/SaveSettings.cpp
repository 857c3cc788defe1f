#include "config/SaveSettings.h"

namespace save_settings_detail {

std::mutex& Lock()
{
    static std::mutex lock;
    return lock;
}

SaveSettingsRecord& Record()
{
    static SaveSettingsRecord record;
    return record;
}

void CutToLengths(SaveSettingsRecord& record)
{
    auto cut = [](std::string& text, std::size_t length) {
        if (text.size() > length)
            text.resize(length);
    };
    cut(record.StartBatch, kStartBatchLength);
    cut(record.SaveFiles1, kSaveFilesLength);
    cut(record.SaveFiles2, kSaveFilesLength);
    cut(record.SaveFiles3, kSaveFilesLength);
    cut(record.SaveFiles4, kSaveFilesLength);
    cut(record.InstallDrive, kInstallDriveLength);
    cut(record.DefaultSaveDir, kDefaultSaveDirLength);
    cut(record.SaveDir, kSaveDirLength);
    cut(record.SaveDirAsTyped, kSaveDirLength);
    cut(record.LogPath, kLogPathLength);
}

}  // namespace save_settings_detail

int SaveSettingsRecord::AciveSaveFiles(int k) const
{
    switch (k) {
    case 1: return AciveSaveFiles1;
    case 2: return AciveSaveFiles2;
    case 3: return AciveSaveFiles3;
    case 4: return AciveSaveFiles4;
    default: return 0;
    }
}

const std::string& SaveSettingsRecord::SaveFiles(int k) const
{
    static const std::string none;
    switch (k) {
    case 1: return SaveFiles1;
    case 2: return SaveFiles2;
    case 3: return SaveFiles3;
    case 4: return SaveFiles4;
    default: return none;
    }
}

SaveSettingsRecord CurrentSaveSettings()
{
    std::lock_guard<std::mutex> guard(save_settings_detail::Lock());
    return save_settings_detail::Record();
}

void ResetSaveSettings()
{
    std::lock_guard<std::mutex> guard(save_settings_detail::Lock());
    save_settings_detail::Record() = SaveSettingsRecord();
}
