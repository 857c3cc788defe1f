#include "save/ClientOptionText.h"

#include "save/CommandLineArgument.h"

std::string ClientOptionFileText(const std::string& password)
{
    // The clients take a value enclosed in matching quotes as its inside,
    // and read a backslash before one of n, t, r, b, s, \, " and ' as that
    // escape; any other backslash stays as it is. Escaping each backslash
    // and double quote keeps every value exact, a trailing backslash and a
    // "#" after a quote included (an unescaped quote would end the quoted
    // part, and a "#" outside one starts a comment).
    std::string value;
    for (char c : password) {
        switch (c) {
        case '\\': value += "\\\\"; break;
        case '"': value += "\\\""; break;
        case '\t': value += "\\t"; break;
        case '\n': value += "\\n"; break;
        case '\r': value += "\\r"; break;
        case '\b': value += "\\b"; break;
        default: value += c; break;
        }
    }
    return "[client]\npassword=\"" + value + "\"\n";
}

std::string OptionFileArgument(const std::string& optionFile)
{
    return QuoteArgument("--defaults-extra-file=" + optionFile);
}

namespace {

// Digits from at up to the first other character; false for none or too
// many for a process id.
bool ReadNumber(const std::string& text, std::string::size_type& at, unsigned long& number)
{
    const std::string::size_type start = at;
    number = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 10) {
        number = number * 10 + static_cast<unsigned long>(text[at] - '0');
        ++at;
    }
    return at > start && (at == text.size() || text[at] < '0' || text[at] > '9');
}

}  // namespace

bool ClientOptionFileProcessId(const std::string& fileName, unsigned long& processId)
{
    const std::string extension = kClientOptionFileExtension;
    std::string::size_type at = 0;
    if (fileName.compare(0, std::string(kClientOptionFilePrefix).size(), kClientOptionFilePrefix) == 0)
        at = std::string(kClientOptionFilePrefix).size();
    else if (fileName.compare(0, 3, "qzk") == 0)
        at = 3;
    else
        return false;
    unsigned long number = 0;
    if (!ReadNumber(fileName, at, processId) || at >= fileName.size() || fileName[at] != '-' ||
        !ReadNumber(fileName, ++at, number))
        return false;
    return fileName.compare(at, std::string::npos, extension) == 0;
}
