#include "save/DumpMySqlDatabase.h"

#include "config/ConfigFile.h"
#include "save/DumpCommandLine.h"
#include "win/Process.h"
#include "win/Profile.h"

namespace {

std::string ReadMySqlKey(const char* key, std::size_t usableLength)
{
    return win::ReadProfileString(kConfigFile, kSectionMySql, key, "", usableLength);
}

}  // namespace

bool DumpMySqlDatabase(const std::string& databaseName, const std::string& targetDirectory)
{
    DumpCommandValues values;
    values.mysqlPath = ReadMySqlKey("MySQLPath", 127);
    values.userName = ReadMySqlKey("UserName", 79);
    values.password = ReadMySqlKey("Password", 79);
    values.targetDirectory = targetDirectory;
    values.databaseName = databaseName;
    const std::string commandLine = BuildDumpCommandLine(values);
    if (commandLine.empty())
        return false;
    unsigned long exitCode = 0;
    return win::RunProgramAndWait(commandLine, win::kShowHidden, exitCode) && exitCode == 0;
}
