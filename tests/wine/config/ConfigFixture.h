#pragma once
// A clean start for every test of the configuration: no configuration file,
// no "my.ini" or "qzpers.ini", none of the registry keys the program looks
// at, fresh SaveSettings, and a working directory on drive C: so that
// "\qz_mysql\conf\my.ini" names C:\qz_mysql\conf\my.ini.
#include "config/SaveSettings.h"
#include "support/ProfileFiles.h"
#include "support/WineHost.h"
#include "win/CallCounter.h"
#include "win/Files.h"

#include <gtest/gtest.h>

#include <string>

namespace configtest {

const std::string kServices = "SYSTEM\\ControlSet001\\Services\\";
const std::string kInstallationKey = "SOFTWARE\\Orvella\\Orvella Tool";
const std::string kOwnServerIni = "C:\\qz_mysql\\conf\\my.ini";

inline std::string WindowsFile(const std::string& name)
{
    return qztest::WindowsDir() + "\\" + name;
}

inline void CleanUp()
{
    qztest::RemoveProfileFile(qztest::ConfigFilePath());
    qztest::RemoveProfileFile(WindowsFile("my.ini"));
    qztest::RemoveProfileFile(WindowsFile("qzpers.ini"));
    qztest::RemoveProfileFile(kOwnServerIni);
    for (const char* service : {"Apache", "Apache2", "QZ_Apache", "MySql", "QZ_MySQL"})
        qztest::DeleteRegistryTree(true, kServices + service);
    qztest::DeleteRegistryTree(true, "SOFTWARE\\Orvella");
    ResetSaveSettings();
    win::ResetCalls();
}

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CleanUp();
        startDirectory_ = win::CurrentDirectory();
        win::ChangeDirectory(work_.Path());
    }
    void TearDown() override
    {
        win::ChangeDirectory(startDirectory_);
        CleanUp();
    }

    // The configuration file with exactly this text.
    static void WriteConfig(const std::string& content)
    {
        qztest::WriteProfileFile(qztest::ConfigFilePath(), content);
    }
    static qztest::ProfileContent ConfigContent()
    {
        return qztest::ReadProfileContent(qztest::ConfigFilePath());
    }
    static bool HasKey(const std::string& section, const std::string& key)
    {
        const auto content = ConfigContent();
        const auto found = content.find(section);
        return found != content.end() && found->second.count(key) != 0;
    }

    qztest::ScratchFolder work_{"config-work"};

private:
    std::string startDirectory_;
};

}  // namespace configtest
