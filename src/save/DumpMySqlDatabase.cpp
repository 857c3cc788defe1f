#include "save/DumpMySqlDatabase.h"

#include "config/ConfigFile.h"
#include "save/ClientOptionFile.h"
#include "save/DumpCommandLine.h"
#include "save/Reports.h"
#include "win/Process.h"
#include "win/Profile.h"
#include "win/WrappedNames.h"

namespace {

std::string ReadMySqlKey(const char* key, std::size_t usableLength)
{
    return win::ReadProfileString(kConfigFile, kSectionMySql, key, "", usableLength);
}

// A name the ANSI code page cannot carry would reach the program's command
// line as another name, or as none: it is refused with a line of its own.
bool CarriedOrReported(const std::string& what, const std::string& name, const std::string& databaseName)
{
    if (!win::HoldsWrappedRuns(name))
        return true;
    ReportStep("FAILED to dump MySQL database " + databaseName + ": the " + what + " " + name +
                   " has characters the ANSI code page cannot carry, and the dump program cannot be given it",
               true);
    return false;
}

}  // namespace

bool DumpMySqlDatabase(const std::string& databaseName, const std::string& targetDirectory)
{
    if (!CarriedOrReported("database name", databaseName, databaseName) ||
        !CarriedOrReported("target directory", targetDirectory, databaseName))
        return false;
    DumpCommandValues values;
    values.mysqlPath = ReadMySqlKey("MySQLPath", 127);
    values.userName = ReadMySqlKey("UserName", 79);
    values.targetDirectory = targetDirectory;
    values.databaseName = databaseName;
    // A password goes with a user name only, and never on the command line,
    // which every process of the machine can read.
    ClientOptionFile options;
    const std::string password = ReadMySqlKey("Password", 79);
    if (!values.userName.empty() && !password.empty()) {
        if (!options.Create(password))
            return false;
        values.optionFile = options.Path();
        if (!CarriedOrReported("temporary option file", values.optionFile, databaseName))
            return false;
    }
    const std::string commandLine = BuildDumpCommandLine(values);
    if (commandLine.empty())
        return false;
    unsigned long exitCode = 0;
    const bool ended = win::RunProgramAndWait(commandLine, win::kShowHidden, exitCode) && exitCode == 0;
    // The dump does not depend on it, but a password left lying in the
    // temporary directory is worth a line (the file's name, not its content).
    const std::string optionFile = options.Path();
    if (!options.Remove())
        WriteLogLine("FAILED to delete the temporary option file " + optionFile);
    return ended;
}
