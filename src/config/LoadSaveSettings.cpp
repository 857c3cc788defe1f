#include "config/LoadSaveSettings.h"

#include "config/ConfigFile.h"
#include "config/MySqlPaths.h"
#include "config/ProfileFileUpdate.h"
#include "config/SaveSettings.h"
#include "win/Profile.h"
#include "win/Registry.h"

namespace {

// The default of a flag read from the file that stands for "key missing".
constexpr int kMissingKey = -9;

constexpr std::size_t kWebHtdocsPathLength = 79;
constexpr std::size_t kMySqlPathLength = 99;
constexpr std::size_t kBaseDirLength = 99;
constexpr std::size_t kImagePathBytes = 80;
constexpr std::size_t kInstallDirectoryBytes = 256;
constexpr std::size_t kLastKeepsetDirLength = 255;
// A shorter save-directory text did not come from the command line.
constexpr std::size_t kUnattendedTextLength = 3;

const char* const kServicesKey = "SYSTEM\\ControlSet001\\Services\\";
const char* const kInstallationKey = "SOFTWARE\\Orvella\\Orvella Tool";

int ReadConfigInt(const char* key, int defaultValue)
{
    return win::ReadProfileInt(kConfigFile, kSectionConfig, key, defaultValue);
}

std::string ReadConfigText(const char* key, std::size_t length)
{
    return win::ReadProfileString(kConfigFile, kSectionConfig, key, "", length);
}

// A flag whose missing key is written as "0", so the next start finds it.
int ReadFlagWritingMissing(const char* key)
{
    const int value = ReadConfigInt(key, kMissingKey);
    if (value == kMissingKey) {
        WriteConfigValue(kSectionConfig, key, "0");
        return 0;
    }
    return value != 0 ? 1 : 0;
}

void LoadVoiceMessageOptions(SaveSettingsRecord& loaded)
{
    loaded.SaveMSG = ReadFlagWritingMissing("SaveMSG");
    // Only the alarm messages is a choice within saving the messages.
    loaded.OnlySaveAlrMSG = loaded.SaveMSG != 0 ? ReadConfigInt("OnlySaveAlrMSG", 0) : 0;
}

bool ServiceExists(const char* service)
{
    return win::RegistryKeyExists(win::RegistryRoot::LocalMachine, std::string(kServicesKey) + service);
}

int DetectWebServerKind()
{
    if (ServiceExists("Apache"))
        return 1;
    if (ServiceExists("Apache2") || ServiceExists("QZ_Apache"))
        return 2;
    return 0;
}

void CompleteWebHtdocsPath(int webServerKind)
{
    if (!ReadConfigText("WebHtdocsPath", kWebHtdocsPathLength).empty())
        return;
    const char* detected = webServerKind == 1 ? "c:\\apache\\htdocs" : "\\qz_web\\htdocs";
    WriteConfigValue(kSectionConfig, "WebHtdocsPath", detected);
}

std::string ServiceImagePath(const char* service)
{
    std::string imagePath;
    win::ReadRegistryString(win::RegistryRoot::LocalMachine, std::string(kServicesKey) + service,
                            "ImagePath", kImagePathBytes, imagePath);
    return imagePath;
}

std::string DetectMySqlPath()
{
    const std::string baseDir = win::ReadProfileString("my.ini", "mysqld", "basedir", "", kBaseDirLength);
    if (!baseDir.empty())
        return BinDirectoryFromBaseDir(baseDir);
    std::string imagePath = ServiceImagePath("MySql");
    if (imagePath.empty())
        imagePath = ServiceImagePath("QZ_MySQL");
    if (imagePath.empty())
        return std::string();
    return BinDirectoryFromImagePath(imagePath);
}

void CompleteMySqlPath()
{
    if (!win::ReadProfileString(kConfigFile, kSectionMySql, "MySQLPath", "", kMySqlPathLength).empty())
        return;
    // Written also when empty: the next start looks for it again.
    WriteConfigValue(kSectionMySql, "MySQLPath", DetectMySqlPath());
}

void LoadWebOptions(SaveSettingsRecord& loaded)
{
    loaded.SaveHtdocs = ReadFlagWritingMissing("SaveHtdocs");
    loaded.SaveSubHtdocs = ReadFlagWritingMissing("SaveSubHtdocs");
    loaded.SaveMySql = ReadFlagWritingMissing("SaveMySql");
}

void LoadBatchAndAdditionalDirectories(SaveSettingsRecord& loaded)
{
    loaded.AciveStartBatch = ReadConfigInt("AciveStartBatch", 0);
    loaded.StartBatch = ReadConfigText("StartBatch", kStartBatchLength);
    loaded.AciveSaveFiles1 = ReadConfigInt("AciveSaveFiles1", 0);
    loaded.SaveFiles1 = ReadConfigText("SaveFiles1", kSaveFilesLength);
    loaded.AciveSaveFiles2 = ReadConfigInt("AciveSaveFiles2", 0);
    loaded.SaveFiles2 = ReadConfigText("SaveFiles2", kSaveFilesLength);
    loaded.AciveSaveFiles3 = ReadConfigInt("AciveSaveFiles3", 0);
    loaded.SaveFiles3 = ReadConfigText("SaveFiles3", kSaveFilesLength);
    loaded.AciveSaveFiles4 = ReadConfigInt("AciveSaveFiles4", 0);
    loaded.SaveFiles4 = ReadConfigText("SaveFiles4", kSaveFilesLength);
}

// The drive of the installation directory, such as "C:"; empty when the
// installation is not registered.
std::string DetectInstallDrive()
{
    std::string directory;
    win::ReadRegistryString(win::RegistryRoot::LocalMachine, kInstallationKey, "Directory",
                            kInstallDirectoryBytes, directory);
    return directory.substr(0, kInstallDriveLength);
}

void LoadSaveDirectory(std::string& saveDirectoryText, SaveSettingsRecord& loaded)
{
    if (saveDirectoryText.size() >= kUnattendedTextLength) {
        loaded.Unattended = 1;
        return;
    }
    loaded.Unattended = 0;
    loaded.InstallDrive = DetectInstallDrive();
    loaded.DefaultSaveDir = loaded.InstallDrive + "\\qzkeepset";
    const std::string lastKeepsetDir = ReadConfigText("LastKeepsetDir", kLastKeepsetDirLength);
    saveDirectoryText = lastKeepsetDir.empty() ? loaded.DefaultSaveDir : lastKeepsetDir;
}

// Only the fields loaded here change: the run fields belong to the main
// dialog's Save command.
void StoreLoadedSettings(const SaveSettingsRecord& loaded)
{
    UpdateSaveSettings([&loaded](SaveSettingsRecord& record) {
        record.SaveMSG = loaded.SaveMSG;
        record.OnlySaveAlrMSG = loaded.OnlySaveAlrMSG;
        record.SaveDesktop = loaded.SaveDesktop;
        record.SaveWeb = loaded.SaveWeb;
        record.SaveHtdocs = loaded.SaveHtdocs;
        record.SaveSubHtdocs = loaded.SaveSubHtdocs;
        record.SaveMySql = loaded.SaveMySql;
        record.AciveStartBatch = loaded.AciveStartBatch;
        record.StartBatch = loaded.StartBatch;
        record.AciveSaveFiles1 = loaded.AciveSaveFiles1;
        record.AciveSaveFiles2 = loaded.AciveSaveFiles2;
        record.AciveSaveFiles3 = loaded.AciveSaveFiles3;
        record.AciveSaveFiles4 = loaded.AciveSaveFiles4;
        record.SaveFiles1 = loaded.SaveFiles1;
        record.SaveFiles2 = loaded.SaveFiles2;
        record.SaveFiles3 = loaded.SaveFiles3;
        record.SaveFiles4 = loaded.SaveFiles4;
        record.WebServerKind = loaded.WebServerKind;
        record.InstallDrive = loaded.InstallDrive;
        record.DefaultSaveDir = loaded.DefaultSaveDir;
        record.Unattended = loaded.Unattended;
    });
}

}  // namespace

void LoadSaveSettings(std::string& saveDirectoryText)
{
    SaveSettingsRecord loaded;
    LoadVoiceMessageOptions(loaded);
    loaded.SaveDesktop = ReadConfigInt("SaveDesktop", 1);
    loaded.SaveWeb = ReadConfigInt("SaveWeb", 0);
    loaded.WebServerKind = DetectWebServerKind();
    CompleteWebHtdocsPath(loaded.WebServerKind);
    CompleteMySqlPath();
    LoadWebOptions(loaded);
    LoadBatchAndAdditionalDirectories(loaded);
    LoadSaveDirectory(saveDirectoryText, loaded);
    StoreLoadedSettings(loaded);
}
