// The two searches for the database server's data directory: which source
// each consults, in which order, and what it writes back.
#include "ConfigFixture.h"

#include "config/MySqlDataDirectory.h"
#include "config/MySqlPaths.h"

#include <set>

using configtest::ConfigTest;

namespace {

const std::string kMyIni = configtest::WindowsFile("my.ini");

std::string DataPathKey()
{
    return qztest::ReadProfileContent(qztest::ConfigFilePath())["MySQL"]["MySQLDataPath"];
}

}  // namespace

TEST_F(ConfigTest, SettingsSearchTriesEachSourceInTurn)
{
    qztest::WriteProfileFile(configtest::kOwnServerIni, "[mysqld]\r\ndatadir=C:\\qz_mysql\\data\r\n");
    qztest::WriteProfileFile(kMyIni, "[mysqld]\r\ndatadir=C:\\winmysql\\data\r\n");
    WriteConfig("[MySQL]\r\nMySQLDataPath=C:\\set\\data\r\nMySQLPath=C:\\mysql\\bin\\\r\n");
    EXPECT_EQ(FindMySqlDataDirectoryForSettings(), "C:\\set\\data");

    // The server's own "my.ini" on the current drive is written back ...
    WriteConfig("[MySQL]\r\nMySQLPath=C:\\mysql\\bin\\\r\n");
    EXPECT_EQ(FindMySqlDataDirectoryForSettings(), "C:\\qz_mysql\\data");
    EXPECT_EQ(DataPathKey(), "C:\\qz_mysql\\data");

    // ... the one in the Windows directory is not.
    qztest::RemoveProfileFile(configtest::kOwnServerIni);
    WriteConfig("[MySQL]\r\nMySQLPath=C:\\mysql\\bin\\\r\n");
    EXPECT_EQ(FindMySqlDataDirectoryForSettings(), "C:\\winmysql\\data");
    EXPECT_FALSE(HasKey("MySQL", "MySQLDataPath"));

    qztest::RemoveProfileFile(kMyIni);
    EXPECT_EQ(FindMySqlDataDirectoryForSettings(), "C:\\mysql\\.\\data");
    EXPECT_EQ(DataPathKey(), "C:\\mysql\\.\\data");

    WriteConfig("[MySQL]\r\nMySQLPath=\\bin\r\n");
    EXPECT_EQ(FindMySqlDataDirectoryForSettings(), "");
    EXPECT_FALSE(HasKey("MySQL", "MySQLDataPath"));
}

TEST_F(ConfigTest, SaveRunSearchSkipsTheOwnServerIniAndDerivesLikeTheSettings)
{
    qztest::WriteProfileFile(configtest::kOwnServerIni, "[mysqld]\r\ndatadir=C:\\qz_mysql\\data\r\n");
    qztest::WriteProfileFile(kMyIni, "[mysqld]\r\ndatadir=C:\\winmysql\\data\r\n");
    WriteConfig("[MySQL]\r\nMySQLDataPath=C:\\set\\data\r\n");
    EXPECT_EQ(FindMySqlDataDirectoryForSaveRun(), "C:\\set\\data");

    WriteConfig("[MySQL]\r\nMySQLPath=C:\\mysql\\bin\r\n");
    EXPECT_EQ(FindMySqlDataDirectoryForSaveRun(), "C:\\winmysql\\data");
    EXPECT_EQ(DataPathKey(), "C:\\winmysql\\data");

    qztest::RemoveProfileFile(kMyIni);
    WriteConfig("[MySQL]\r\nMySQLPath=C:\\mysql\\bin\r\n");
    EXPECT_EQ(FindMySqlDataDirectoryForSaveRun(), "C:\\mysql.\\data");
    EXPECT_EQ(DataPathKey(), "C:\\mysql.\\data");

    // Nothing known: no directory, and nothing written that the settings
    // dialog would take for one.
    WriteConfig("[MySQL]\r\nMySQLPath=\r\n");
    EXPECT_EQ(FindMySqlDataDirectoryForSaveRun(), "");
    EXPECT_FALSE(HasKey("MySQL", "MySQLDataPath"));
}

TEST_F(ConfigTest, SearchesReadTheirOwnLengths)
{
    const std::string longPath = "C:\\" + std::string(110, 'p');
    WriteConfig("[MySQL]\r\nMySQLDataPath=" + longPath + "\r\n");
    EXPECT_EQ(FindMySqlDataDirectoryForSettings(), longPath.substr(0, 79));
    EXPECT_EQ(FindMySqlDataDirectoryForSaveRun(), longPath);
}

// A "bin" directory detected from a basedir ends in ".\bin"; the directory
// derived from it must still list the databases, with or without a
// backslash at the end of the basedir.
TEST_F(ConfigTest, DerivedDataDirectoryListsTheDatabases)
{
    qztest::ScratchFolder server("mysql");
    qztest::MakeDirectories(server / "bin");
    qztest::MakeDirectories(server / "data\\alarm");
    qztest::MakeDirectories(server / "data\\voice");
    for (const std::string& baseDir : {server.Path(), server.Path() + "\\"}) {
        SCOPED_TRACE(baseDir);
        const std::string config = "[MySQL]\r\nMySQLPath=" + BinDirectoryFromBaseDir(baseDir) + "\r\n";
        WriteConfig(config);
        const std::string forSaveRun = FindMySqlDataDirectoryForSaveRun();
        WriteConfig(config);
        EXPECT_EQ(FindMySqlDataDirectoryForSettings(), forSaveRun);

        std::set<std::string> databases;
        win::DirectorySearch search(DatabaseSearchPattern(forSaveRun));
        win::FoundEntry entry;
        while (search.Next(entry)) {
            if (entry.name[0] != '.')
                databases.insert(entry.name);
        }
        EXPECT_EQ(databases, (std::set<std::string>{"alarm", "voice"}));
    }
}
