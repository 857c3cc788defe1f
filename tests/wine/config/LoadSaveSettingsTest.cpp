// Start-up: the save options from the configuration file, the keys a first
// start writes, and what is detected from the registry and "my.ini".
#include "ConfigFixture.h"

#include "config/LoadSaveSettings.h"
#include "config/SaveSettings.h"

#include <windows.h>

using configtest::ConfigTest;
using configtest::kServices;
using qztest::ProfileContent;

namespace {

// Starts with this configuration file and returns the save-directory text
// LoadSaveSettings leaves.
std::string StartWith(const std::string& config, std::string saveDirectoryText = std::string())
{
    if (config.empty())
        qztest::RemoveProfileFile(qztest::ConfigFilePath());
    else
        qztest::WriteProfileFile(qztest::ConfigFilePath(), config);
    ResetSaveSettings();
    LoadSaveSettings(saveDirectoryText);
    return saveDirectoryText;
}

std::string MySqlPathAfterStart(const std::string& config = std::string())
{
    StartWith(config);
    return qztest::ReadProfileContent(qztest::ConfigFilePath())["MySQL"]["MySQLPath"];
}

}  // namespace

TEST_F(ConfigTest, FirstStartWritesTheMissingKeysOnly)
{
    const std::string shown = StartWith("");

    const ProfileContent expected = {
        {"Config",
         {{"SaveMSG", "0"}, {"WebHtdocsPath", "\\qz_web\\htdocs"}, {"SaveHtdocs", "0"},
          {"SaveSubHtdocs", "0"}, {"SaveMySql", "0"}}},
        {"MySQL", {{"MySQLPath", ""}}},
    };
    EXPECT_EQ(ConfigContent(), expected);

    const SaveSettingsRecord settings = CurrentSaveSettings();
    EXPECT_EQ(settings.SaveDesktop, 1);  // not written, yet set
    EXPECT_EQ(settings.SaveMSG + settings.OnlySaveAlrMSG + settings.SaveWeb + settings.SaveHtdocs +
                  settings.SaveSubHtdocs + settings.SaveMySql + settings.AciveStartBatch +
                  settings.AciveSaveFiles1 + settings.AciveSaveFiles4,
              0);
    EXPECT_EQ(settings.WebServerKind, 0);
    EXPECT_EQ(settings.Unattended, 0);
    EXPECT_EQ(settings.InstallDrive, "");
    EXPECT_EQ(settings.DefaultSaveDir, "\\qzkeepset");
    EXPECT_EQ(shown, "\\qzkeepset");

    // The second start finds every key set and changes nothing.
    const std::string before = qztest::ReadFileText(qztest::ConfigFilePath());
    std::string text;
    LoadSaveSettings(text);
    qztest::ReadProfileContent(qztest::ConfigFilePath());
    EXPECT_EQ(qztest::ReadFileText(qztest::ConfigFilePath()), before);
}

TEST_F(ConfigTest, FlagsCountAnyNonZeroValueAndNonNumericAsZero)
{
    StartWith("[Config]\r\nSaveMSG=5\r\nOnlySaveAlrMSG=1\r\nSaveMySql=2\r\nSaveDesktop=0\r\n"
              "SaveWeb=1\r\nSaveHtdocs=yes\r\nSaveSubHtdocs=1\r\nAciveSaveFiles3=1\r\n");
    SaveSettingsRecord settings = CurrentSaveSettings();
    EXPECT_EQ(settings.SaveMSG, 1);
    EXPECT_EQ(settings.OnlySaveAlrMSG, 1);
    EXPECT_EQ(settings.SaveMySql, 1);
    EXPECT_EQ(settings.SaveDesktop, 0);
    EXPECT_EQ(settings.SaveWeb, 1);
    EXPECT_EQ(settings.SaveHtdocs, 0);
    EXPECT_EQ(ConfigContent()["Config"]["SaveHtdocs"], "yes");  // present, so not rewritten
    EXPECT_EQ(settings.SaveSubHtdocs, 1);
    EXPECT_EQ(settings.AciveSaveFiles3, 1);

    // Only alarm messages means nothing without the messages themselves.
    StartWith("[Config]\r\nSaveMSG=0\r\nOnlySaveAlrMSG=1\r\n");
    settings = CurrentSaveSettings();
    EXPECT_EQ(settings.SaveMSG, 0);
    EXPECT_EQ(settings.OnlySaveAlrMSG, 0);

    StartWith("[Config]\r\nSaveMSG=abc\r\nOnlySaveAlrMSG=1\r\n");
    settings = CurrentSaveSettings();
    EXPECT_EQ(settings.SaveMSG, 0);
    EXPECT_EQ(settings.OnlySaveAlrMSG, 0);
    EXPECT_EQ(ConfigContent()["Config"]["SaveMSG"], "abc");
}

TEST_F(ConfigTest, WebServerKindFollowsTheServiceKeys)
{
    struct Case {
        const char* service;
        int kind;
        const char* htdocs;
    };
    for (const Case& c : {Case{"Apache", 1, "c:\\apache\\htdocs"}, Case{"Apache2", 2, "\\qz_web\\htdocs"},
                          Case{"QZ_Apache", 2, "\\qz_web\\htdocs"}}) {
        SCOPED_TRACE(c.service);
        configtest::CleanUp();
        qztest::SetRegistryString(true, kServices + c.service, "ImagePath", "httpd.exe");
        StartWith("[Config]\r\nWebHtdocsPath=\r\n");
        EXPECT_EQ(CurrentSaveSettings().WebServerKind, c.kind);
        EXPECT_EQ(ConfigContent()["Config"]["WebHtdocsPath"], c.htdocs);
    }

    // "Apache" is looked for first; a path already set stays.
    qztest::SetRegistryString(true, kServices + "Apache", "ImagePath", "httpd.exe");
    StartWith("[Config]\r\nWebHtdocsPath=E:\\www\r\n");
    EXPECT_EQ(CurrentSaveSettings().WebServerKind, 1);
    EXPECT_EQ(ConfigContent()["Config"]["WebHtdocsPath"], "E:\\www");
}

TEST_F(ConfigTest, MySqlPathFromBaseDirOrServiceImagePath)
{
    const std::string myIni = configtest::WindowsFile("my.ini");
    qztest::WriteProfileFile(myIni, "[mysqld]\r\nbasedir=C:/mysql\r\n");
    EXPECT_EQ(MySqlPathAfterStart(), "C:/mysql.\\bin");
    qztest::WriteProfileFile(myIni, "[mysqld]\r\nbasedir=C:\\mysql\\\r\n");
    EXPECT_EQ(MySqlPathAfterStart(), "C:\\mysql\\.\\bin");

    // basedir comes first; the service is looked at only without it.
    qztest::SetRegistryString(true, kServices + "MySql", "ImagePath",
                              "C:\\mysql\\bin\\mysqld-nt.exe --defaults-file=C:\\etc\\my.ini MySql");
    EXPECT_EQ(MySqlPathAfterStart(), "C:\\mysql\\.\\bin");
    qztest::RemoveProfileFile(myIni);
    EXPECT_EQ(MySqlPathAfterStart(), "C:\\mysql\\bin\\");
    qztest::SetRegistryString(true, kServices + "MySql", "ImagePath", "D:\\db\\bin\\mysqld-nt.exe");
    EXPECT_EQ(MySqlPathAfterStart(), "D:\\db\\bin\\");

    // A value that does not fit in 80 bytes counts as none: QZ_MySQL then.
    qztest::SetRegistryString(true, kServices + "MySql", "ImagePath", "C:\\" + std::string(80, 'm') + "\\x.exe");
    qztest::SetRegistryString(true, kServices + "QZ_MySQL", "ImagePath", "C:\\qz_mysql\\bin\\mysqld.exe -b x");
    EXPECT_EQ(MySqlPathAfterStart(), "C:\\qz_mysql\\bin\\");
    qztest::DeleteRegistryTree(true, kServices + "MySql");
    EXPECT_EQ(MySqlPathAfterStart(), "C:\\qz_mysql\\bin\\");

    // A path already set is kept; an empty one is detected again.
    EXPECT_EQ(MySqlPathAfterStart("[MySQL]\r\nMySQLPath=E:\\own\\bin\r\n"), "E:\\own\\bin");
    EXPECT_EQ(MySqlPathAfterStart("[MySQL]\r\nMySQLPath=\r\n"), "C:\\qz_mysql\\bin\\");
}

TEST_F(ConfigTest, SaveDirectoryFromTheCommandLineMeansUnattended)
{
    qztest::SetRegistryString(true, configtest::kInstallationKey, "Directory", "D:\\Orvella\\Tool");
    const std::string config = "[Config]\r\nLastKeepsetDir=E:\\last\r\n";

    EXPECT_EQ(StartWith(config, "C:\\data"), "C:\\data");
    SaveSettingsRecord settings = CurrentSaveSettings();
    EXPECT_EQ(settings.Unattended, 1);
    EXPECT_EQ(settings.InstallDrive, "");
    EXPECT_EQ(settings.DefaultSaveDir, "");

    EXPECT_EQ(StartWith(config, "C:\\"), "C:\\");
    EXPECT_EQ(CurrentSaveSettings().Unattended, 1);

    // Two characters did not come from the command line: a normal start.
    EXPECT_EQ(StartWith(config, "C:"), "E:\\last");
    settings = CurrentSaveSettings();
    EXPECT_EQ(settings.Unattended, 0);
    EXPECT_EQ(settings.InstallDrive, "D:");
    EXPECT_EQ(settings.DefaultSaveDir, "D:\\qzkeepset");
}

TEST_F(ConfigTest, InstallDriveAndTheDirectoryToShow)
{
    qztest::SetRegistryString(true, configtest::kInstallationKey, "Directory", "D:\\Orvella\\Tool");
    EXPECT_EQ(StartWith(""), "D:\\qzkeepset");
    EXPECT_EQ(CurrentSaveSettings().InstallDrive, "D:");

    // Date patterns are shown as stored; only a save run expands them.
    EXPECT_EQ(StartWith("[Config]\r\nLastKeepsetDir=D:\\backup\\DD.MM\r\n"), "D:\\backup\\DD.MM");

    qztest::SetRegistryString(true, configtest::kInstallationKey, "Directory", "E");
    EXPECT_EQ(StartWith(""), "E\\qzkeepset");
    EXPECT_EQ(CurrentSaveSettings().InstallDrive, "E");

    qztest::DeleteRegistryTree(true, "SOFTWARE\\Orvella");
    EXPECT_EQ(StartWith(""), "\\qzkeepset");
    EXPECT_EQ(CurrentSaveSettings().InstallDrive, "");
}

TEST_F(ConfigTest, OverLongValuesAreCutToTheirLengths)
{
    const std::string longHtdocs = "C:\\" + std::string(117, 'h');
    const std::string longMySqlPath = "C:\\" + std::string(117, 'b');
    StartWith("[Config]\r\nSaveFiles1=" + std::string(300, 'a') + "\r\nSaveFiles4=" + std::string(255, 'd') +
              "\r\nStartBatch=" + std::string(600, 's') + "\r\nWebHtdocsPath=" + longHtdocs +
              "\r\nLastKeepsetDir=" + std::string(300, 'l') + "\r\n[MySQL]\r\nMySQLPath=" + longMySqlPath +
              "\r\n");
    const SaveSettingsRecord settings = CurrentSaveSettings();
    EXPECT_EQ(settings.SaveFiles1, std::string(255, 'a'));
    EXPECT_EQ(settings.SaveFiles4, std::string(255, 'd'));
    EXPECT_EQ(settings.StartBatch, std::string(511, 's'));
    // Read with room for 79 or 99 characters: not empty, so never rewritten.
    ProfileContent content = ConfigContent();
    EXPECT_EQ(content["Config"]["WebHtdocsPath"], longHtdocs);
    EXPECT_EQ(content["MySQL"]["MySQLPath"], longMySqlPath);

    std::string shown = StartWith("[Config]\r\nLastKeepsetDir=" + std::string(300, 'l') + "\r\n");
    EXPECT_EQ(shown, std::string(255, 'l'));
}

TEST_F(ConfigTest, FailedWritesLeaveTheSettingsFilled)
{
    for (unsigned long n = 1; n <= 6; ++n)
        win::FailCall(win::Op::ProfileWrite, n, ERROR_ACCESS_DENIED);
    qztest::SetRegistryString(true, kServices + "Apache", "ImagePath", "httpd.exe");
    const std::string shown = StartWith("[Config]\r\nSaveDesktop=0\r\nAciveStartBatch=1\r\nStartBatch=go.bat\r\n");
    EXPECT_EQ(win::CallCount(win::Op::ProfileWrite), 6u);
    EXPECT_EQ(shown, "\\qzkeepset");
    const SaveSettingsRecord settings = CurrentSaveSettings();
    EXPECT_EQ(settings.SaveDesktop, 0);
    EXPECT_EQ(settings.WebServerKind, 1);
    EXPECT_EQ(settings.AciveStartBatch, 1);
    EXPECT_EQ(settings.StartBatch, "go.bat");
    EXPECT_FALSE(HasKey("Config", "SaveMSG"));
}
