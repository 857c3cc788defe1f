#pragma once
// How a started program's C runtime splits its command line into
// arguments: the tests' independent model of it, against which the command
// lines the program builds are checked.
#include <string>
#include <vector>

// How the started program's C runtime splits its command line: the program
// path up to the next quote or blank; then arguments where 2n backslashes
// before a quote give n backslashes and open or close a quoted part, 2n+1
// give n backslashes and a literal quote, and other backslashes are literal.
inline std::vector<std::string> SplitAsWindowsDoes(const std::string& line)
{
    std::vector<std::string> argv;
    std::string::size_type i = 0;
    std::string word;
    if (i < line.size() && line[i] == '"') {
        const auto end = line.find('"', 1);
        word = line.substr(1, end - 1);
        i = end == std::string::npos ? line.size() : end + 1;
    }
    while (i < line.size() && line[i] != ' ' && line[i] != '\t')
        word += line[i++];
    argv.push_back(word);
    while (true) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i == line.size())
            return argv;
        word.clear();
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            std::string::size_type backslashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                word.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1)
                    word += '"';
                else
                    quoted = !quoted;
                ++i;
            } else {
                word.append(backslashes, '\\');
                if (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t')))
                    word += line[i++];
            }
        }
        argv.push_back(word);
    }
}

