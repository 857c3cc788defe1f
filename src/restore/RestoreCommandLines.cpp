#include "restore/RestoreCommandLines.h"

#include "save/CommandLineArgument.h"

namespace {

std::string ClientProgram(const std::string& mysqlPath, const char* program)
{
    if (mysqlPath.empty())
        return std::string();
    return QuoteProgramPath(mysqlPath + ".\\" + program);
}

}  // namespace

std::string SafetyDumpCommandLine(const std::string& mysqlPath, const std::string& dataPath,
                                  const std::string& database)
{
    const std::string program = ClientProgram(mysqlPath, "mysqldump");
    if (program.empty())
        return std::string();
    return program + " --opt -B -uroot " + QuoteArgument("-r" + dataPath + ".\\" + database + ".bkp") + " " +
           QuoteArgument(database);
}

std::string LoadCommandLine(const std::string& mysqlPath, const std::string& dumpFile)
{
    const std::string program = ClientProgram(mysqlPath, "mysql.exe");
    if (program.empty() || dumpFile.find('"') != std::string::npos)
        return std::string();
    // The statement is one quoted argument whatever the file's name holds:
    // blanks stay inside the quotes, and a name has no quote character.
    return program + " -u root -e\"source " + dumpFile + "\"";
}
