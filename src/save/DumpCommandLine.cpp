#include "save/DumpCommandLine.h"

#include "save/ClientOptionText.h"
#include "save/CommandLineArgument.h"

namespace {

// The non-empty form ends with one blank, so two blanks separate the
// credentials from "-r" (and "-B" from "-r" without them): the line's
// long-standing form.
std::string CredentialsOption(const std::string& userName)
{
    if (userName.empty())
        return std::string();
    return QuoteArgument("-u" + userName) + " ";
}

}  // namespace

std::string BuildDumpCommandLine(const DumpCommandValues& values)
{
    std::string line = QuoteProgramPath(values.mysqlPath + ".\\mysqldump");
    if (line.empty())
        return std::string();
    if (!values.optionFile.empty())
        line += " " + OptionFileArgument(values.optionFile);
    return line + " --opt -B " + CredentialsOption(values.userName) + " " +
           QuoteArgument("-r" + values.targetDirectory + ".\\" + values.databaseName + ".sql") + " " +
           QuoteArgument(values.databaseName);
}
