#include "save/ClientOptionText.h"
#include "save/DumpCommandLine.h"

#include "WindowsArgumentSplit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

DumpCommandValues Values(const std::string& path, const std::string& user, const std::string& optionFile,
                         const std::string& target, const std::string& database)
{
    return DumpCommandValues{path, user, optionFile, target, database};
}

}  // namespace

TEST(DumpCommandLine, KeepsTheLongStandingLineWhenNothingNeedsQuotes)
{
    EXPECT_EQ(BuildDumpCommandLine(Values("C:\\mysql\\bin", "root", "", "E:\\bk\\mysql", "alarm")),
              "C:\\mysql\\bin.\\mysqldump --opt -B -uroot  -rE:\\bk\\mysql.\\alarm.sql alarm");
    EXPECT_EQ(BuildDumpCommandLine(Values("C:\\mysql\\bin", "", "", "E:\\bk\\mysql", "alarm")),
              "C:\\mysql\\bin.\\mysqldump --opt -B  -rE:\\bk\\mysql.\\alarm.sql alarm");
}

// The password reaches the dump program in an option file named as its
// first option; the rest of the line stays as it was.
TEST(DumpCommandLine, NamesThePasswordsOptionFileFirst)
{
    EXPECT_EQ(BuildDumpCommandLine(Values("C:\\mysql\\bin\\", "admin", "C:\\Temp\\qzk1.cnf", "E:\\", "voice")),
              "C:\\mysql\\bin\\.\\mysqldump --defaults-extra-file=C:\\Temp\\qzk1.cnf --opt -B -uadmin  "
              "-rE:\\.\\voice.sql voice");
    const std::string line = BuildDumpCommandLine(Values("C:\\Program Files\\MySQL\\bin", "back up",
                                                         "C:\\Users\\A B\\Temp\\qzk2.cnf", "E:\\bk", "alarm"));
    const std::vector<std::string> expected = {"C:\\Program Files\\MySQL\\bin.\\mysqldump",
                                               "--defaults-extra-file=C:\\Users\\A B\\Temp\\qzk2.cnf", "--opt", "-B",
                                               "-uback up", "-rE:\\bk.\\alarm.sql", "alarm"};
    EXPECT_EQ(SplitAsWindowsDoes(line), expected) << line;
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

TEST(DumpCommandLine, UserNamesWithQuotesAndBackslashesStayOneArgument)
{
    for (const std::string user : {"us\"er -d --all-databases", "\"", "a b\\", "a\\\"b c", "x\\\\\" -r C:\\evil",
                                   "tab\there", "\\\\"}) {
        const std::string line = BuildDumpCommandLine(Values("C:\\mysql\\bin", user, "", "E:\\bk", "alarm"));
        const std::vector<std::string> expected = {"C:\\mysql\\bin.\\mysqldump", "--opt", "-B", "-u" + user,
                                                   "-rE:\\bk.\\alarm.sql", "alarm"};
        EXPECT_EQ(SplitAsWindowsDoes(line), expected) << line;
    }
}

TEST(DumpCommandLine, RefusesAProgramPathWithAQuote)
{
    EXPECT_EQ(BuildDumpCommandLine(Values("C:\\my\" -x \"sql", "root", "", "E:\\bk", "alarm")), "");
}

// What the clients read back from the option file: the value between the
// quotes with the escapes undone.
TEST(ClientOptionFileText, QuotesTheValueAndEscapesWhatTheClientsWouldRead)
{
    const struct {
        const char* password;
        const char* value;
    } cases[] = {
        {"geheim", "geheim"},
        {" pa ss & more ", " pa ss & more "},
        {"it's \"quoted\" #not a comment", "it's \\\"quoted\\\" #not a comment"},
        {"C:\\dir\\", "C:\\\\dir\\\\"},
        {"\\s\\n", "\\\\s\\\\n"},
        {"tab\there\r\nnext\bback", "tab\\there\\r\\nnext\\bback"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClientOptionFileText(c.password), std::string("[client]\npassword=\"") + c.value + "\"\n")
            << c.password;
    EXPECT_EQ(OptionFileArgument("C:\\Temp\\a.cnf"), "--defaults-extra-file=C:\\Temp\\a.cnf");
    EXPECT_EQ(OptionFileArgument("C:\\My Temp\\a.cnf"), "\"--defaults-extra-file=C:\\My Temp\\a.cnf\"");
}

// The names a start of the program takes for its own option files.
TEST(ClientOptionFileText, OwnFileNamesAndTheirProcess)
{
    unsigned long id = 0;
    EXPECT_TRUE(ClientOptionFileProcessId("qzkeepset-1996-9.cnf", id));
    EXPECT_EQ(id, 1996u);
    EXPECT_TRUE(ClientOptionFileProcessId("qzk4000000000-12.cnf", id));
    EXPECT_EQ(id, 4000000000u);
    for (const char* other : {"qzkeepset-1996.cnf", "qzkeepset-1996-9.cnf.txt", "qzkeepset--9.cnf", "qzkeepset-1-x.cnf",
                              "qzkeepset-12345678901-1.cnf", "qzkeepsetx-1-1.cnf", "qzkeepset-restore-1-1", "my.cnf",
                              "QZK1-1.cnf", ""})
        EXPECT_FALSE(ClientOptionFileProcessId(other, id)) << other;
}
