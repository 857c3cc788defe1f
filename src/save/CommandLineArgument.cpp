#include "save/CommandLineArgument.h"

namespace {

bool NeedsQuotes(const std::string& text, const char* specials)
{
    return text.find_first_of(specials) != std::string::npos;
}

}  // namespace

std::string QuoteArgument(const std::string& argument)
{
    if (!NeedsQuotes(argument, " \t\n\v\""))
        return argument;
    std::string quoted = "\"";
    std::string::size_type backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless a quote follows them; before a
        // quote each one must be doubled, and the quote itself escaped.
        if (c == '"')
            quoted.append(2 * backslashes + 1, '\\');
        else
            quoted.append(backslashes, '\\');
        quoted += c;
        backslashes = 0;
    }
    // Before the closing quote, too.
    quoted.append(2 * backslashes, '\\');
    quoted += '"';
    return quoted;
}

std::string QuoteProgramPath(const std::string& path)
{
    if (path.find('"') != std::string::npos)
        return std::string();
    if (!NeedsQuotes(path, " \t"))
        return path;
    return "\"" + path + "\"";
}
