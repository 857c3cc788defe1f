#include "app/StartOptions.h"

#include "config/LowerCase.h"

namespace {

bool IsSwitch(const std::string& argument)
{
    return !argument.empty() && (argument[0] == '/' || argument[0] == '-');
}

}  // namespace

SaveDirectoryArgument FindSaveDirectoryArgument(const std::vector<std::string>& arguments)
{
    SaveDirectoryArgument found;
    for (const std::string& argument : arguments) {
        if (IsSwitch(argument))
            continue;
        if (argument.find('\\') != std::string::npos) {
            found.directory = argument;
            found.tooLong = argument.size() > kSaveDirectoryArgumentLength;
        }
        break;
    }
    return found;
}

std::string LanguageLibraryName(const std::string& defaultLanguage)
{
    if (defaultLanguage == "DT")
        return "qzkeep_dt.dll";
    if (defaultLanguage == "FR")
        return "qzkeep_fr.dll";
    return std::string();
}

VerifyArgument FindVerifyArgument(const std::vector<std::string>& arguments)
{
    VerifyArgument found;
    for (const std::string& argument : arguments) {
        if (IsSwitch(argument)) {
            if (LowerCase(argument.substr(1)) == "verify")
                found.asked = true;
        } else if (found.directory.empty()) {
            found.directory = argument;
        }
    }
    if (!found.asked)
        found.directory.clear();
    return found;
}
