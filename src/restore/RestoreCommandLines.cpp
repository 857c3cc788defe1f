#include "restore/RestoreCommandLines.h"

#include "save/CommandLineArgument.h"

#include <cstdio>

namespace {

std::string ClientProgram(const std::string& mysqlPath, const char* program)
{
    if (mysqlPath.empty())
        return std::string();
    return QuoteProgramPath(mysqlPath + ".\\" + program);
}

// The query client with one statement.
std::string Statement(const std::string& mysqlPath, const char* options, const std::string& statement)
{
    const std::string program = ClientProgram(mysqlPath, "mysql.exe");
    if (program.empty())
        return std::string();
    return program + " -u root " + options + "-e\"" + statement + "\"";
}

}  // namespace

std::string DatabaseExistsCommandLine(const std::string& mysqlPath, const std::string& database)
{
    return Statement(mysqlPath, "-N -B ",
                     "SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE SCHEMA_NAME='" + database + "'");
}

bool ReadDatabaseCount(const std::string& output, bool& exists)
{
    if (output != "0\n" && output != "1\n" && output != "0\r\n" && output != "1\r\n")
        return false;
    exists = output[0] == '1';
    return true;
}

std::string ClientMessage(const std::string& output)
{
    std::string first;
    std::string::size_type start = 0;
    while (start < output.size()) {
        std::string::size_type end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        std::string line = output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.compare(0, 5, "ERROR") == 0)
            return line;
        if (first.empty() && line.find_first_not_of(" -\t") != std::string::npos)
            first = line;
        start = end + 1;
    }
    return first;
}

std::string SafetyDumpFileName(const std::string& dataPath, const std::string& database, const LocalDateTime& now,
                               int attempt)
{
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", now.year, now.month, now.day, now.hour,
                  now.minute, now.second);
    std::string name = dataPath + ".\\" + database + "." + stamp;
    if (attempt > 1)
        name += "-" + std::to_string(attempt);
    return name + ".bkp";
}

std::string SafetyDumpCommandLine(const std::string& mysqlPath, const std::string& safetyDumpFile,
                                  const std::string& database)
{
    const std::string program = ClientProgram(mysqlPath, "mysqldump");
    if (program.empty())
        return std::string();
    return program + " --opt -B -uroot " + QuoteArgument("-r" + safetyDumpFile) + " " + QuoteArgument(database);
}

std::string LoadCommandLine(const std::string& mysqlPath)
{
    const std::string program = ClientProgram(mysqlPath, "mysql.exe");
    return program.empty() ? std::string() : program + " -u root";
}

std::string DropDatabaseCommandLine(const std::string& mysqlPath, const std::string& database)
{
    return Statement(mysqlPath, "", "DROP DATABASE IF EXISTS `" + database + "`");
}
