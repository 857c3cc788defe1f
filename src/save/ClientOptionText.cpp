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
