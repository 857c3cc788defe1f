#include "save/DumpCommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// How the started program's C runtime splits its command line: the program
// path up to the next quote or blank; then arguments where 2n backslashes
// before a quote give n backslashes and open or close a quoted part, 2n+1
// give n backslashes and a literal quote, and other backslashes are literal.
std::vector<std::string> SplitAsWindowsDoes(const std::string& line)
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

DumpCommandValues Values(const std::string& path, const std::string& user, const std::string& password,
                         const std::string& target, const std::string& database)
{
    return DumpCommandValues{path, user, password, target, database};
}

}  // namespace

TEST(DumpCommandLine, KeepsTheLongStandingLineWhenNothingNeedsQuotes)
{
    EXPECT_EQ(BuildDumpCommandLine(Values("C:\\mysql\\bin", "root", "", "E:\\bk\\mysql", "alarm")),
              "C:\\mysql\\bin.\\mysqldump --opt -B -uroot  -rE:\\bk\\mysql.\\alarm.sql alarm");
    EXPECT_EQ(BuildDumpCommandLine(Values("C:\\mysql\\bin", "", "", "E:\\bk\\mysql", "alarm")),
              "C:\\mysql\\bin.\\mysqldump --opt -B  -rE:\\bk\\mysql.\\alarm.sql alarm");
    EXPECT_EQ(BuildDumpCommandLine(Values("C:\\mysql\\bin\\", "admin", "geheim", "E:\\", "voice")),
              "C:\\mysql\\bin\\.\\mysqldump --opt -B -uadmin -pgeheim  -rE:\\.\\voice.sql voice");
    // A password without a user name is not used.
    EXPECT_EQ(BuildDumpCommandLine(Values("C:\\mysql\\bin", "", "geheim", "E:\\bk", "alarm")),
              "C:\\mysql\\bin.\\mysqldump --opt -B  -rE:\\bk.\\alarm.sql alarm");
}

TEST(DumpCommandLine, QuotesWholeArgumentsWithBlanks)
{
    const std::string line = BuildDumpCommandLine(
        Values("C:\\Program Files\\MySQL\\bin", "back up", "", "E:\\my bk\\mysql", "alarm"));
    EXPECT_EQ(line, "\"C:\\Program Files\\MySQL\\bin.\\mysqldump\" --opt -B \"-uback up\"  "
                    "\"-rE:\\my bk\\mysql.\\alarm.sql\" alarm");
    const std::vector<std::string> expected = {"C:\\Program Files\\MySQL\\bin.\\mysqldump", "--opt", "-B",
                                               "-uback up", "-rE:\\my bk\\mysql.\\alarm.sql", "alarm"};
    EXPECT_EQ(SplitAsWindowsDoes(line), expected);
}

TEST(DumpCommandLine, PasswordsWithQuotesAndBackslashesStayOneArgument)
{
    for (const std::string password : {"pa\"ss -d --all-databases", "\"", "a b\\", "a\\\"b c", "x\\\\\" -r C:\\evil",
                                       "tab\there", "\\\\"}) {
        const std::string line =
            BuildDumpCommandLine(Values("C:\\mysql\\bin", "root", password, "E:\\bk", "alarm"));
        const std::vector<std::string> expected = {"C:\\mysql\\bin.\\mysqldump", "--opt", "-B", "-uroot",
                                                   "-p" + password, "-rE:\\bk.\\alarm.sql", "alarm"};
        EXPECT_EQ(SplitAsWindowsDoes(line), expected) << line;
    }
}

TEST(DumpCommandLine, RefusesAProgramPathWithAQuote)
{
    EXPECT_EQ(BuildDumpCommandLine(Values("C:\\my\" -x \"sql", "root", "", "E:\\bk", "alarm")), "");
}
