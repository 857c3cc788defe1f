#include "save/DumpCommandLine.h"

#include "save/CommandLineArgument.h"

namespace {

// Each non-empty form ends with one blank, so without credentials two
// blanks separate "-B" from "-r": the line's long-standing form.
std::string CredentialsOption(const std::string& userName, const std::string& password)
{
    if (userName.empty())
        return std::string();
    std::string option = QuoteArgument("-u" + userName) + " ";
    if (!password.empty())
        option += QuoteArgument("-p" + password) + " ";
    return option;
}

}  // namespace

std::string BuildDumpCommandLine(const DumpCommandValues& values)
{
    const std::string program = QuoteProgramPath(values.mysqlPath + ".\\mysqldump");
    if (program.empty())
        return std::string();
    return program + " --opt -B " + CredentialsOption(values.userName, values.password) + " " +
           QuoteArgument("-r" + values.targetDirectory + ".\\" + values.databaseName + ".sql") + " " +
           QuoteArgument(values.databaseName);
}
