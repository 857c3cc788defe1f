#include "restore/RestoreRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(RestoreRules, OnlyTheConfigurationIniFilesOfTheWinFolder)
{
    for (const char* name : {"qzkeepset.ini", "QZPERS.INI", "qz.ini", "qzx.y.ini", "vmqzt.ini", "PmQzt.ini",
                             "setupal.ini"})
        EXPECT_TRUE(IsSavedWindowsIni(name)) << name;
    for (const char* name : {"system.ini", "win.ini", "qz.dll", "qzkeepset.ini.bak", "qzini", "q.ini", "xqz.ini",
                             "vmqzt.ini2", "setupal.inf", "evil.dll", ""})
        EXPECT_FALSE(IsSavedWindowsIni(name)) << name;
}

TEST(RestoreRules, DumpNamesAreOneWord)
{
    const struct {
        const char* file;
        const char* database;  // nullptr: refused
    } cases[] = {
        {"alarm.sql", "alarm"},
        {"Alarm_2$x-y@002d.SQL", "Alarm_2$x-y@002d"},
        {"a.sql.sql", nullptr},  // a save never names a dump so; the load would read another file
        {"my.data.sql", nullptr},
        {"x.sql; DROP DATABASE victim; -- .sql", nullptr},
        {"a b.sql", nullptr},
        {"a\"b.sql", nullptr},
        {"a'b.sql", nullptr},
        {"--help.sql", nullptr},  // read as an option
        {"-x.sql", nullptr},
        {".sql", nullptr},
        {"alarm.sq", nullptr},
        {"alarm", nullptr},
        {"alarm.sql.bkp", nullptr},
        {"\xe4.sql", nullptr},
    };
    for (const auto& c : cases) {
        std::string database = "left over";
        EXPECT_EQ(DumpFileDatabase(c.file, database), c.database != nullptr) << c.file;
        EXPECT_EQ(database, c.database != nullptr ? c.database : "") << c.file;
    }
}

TEST(RestoreRules, SearchPatterns)
{
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"a.txt", "*.txt", true},  {"A.TXT", "*.txt", true}, {"a.txt.bak", "*.txt", false},
        {"noext", "*.*", true},    {"a.b", "", true},        {"vm001.dbf", "vm001.dbf", true},
        {"vm0011.dbf", "vm001.dbf", false}, {"qzapost1.x", "qz?post*.*", true}, {"qzapost", "qz?post*.*", true},
        {"qzpost", "qz?post*.*", false},    {"abc", "a*c", true},             {"ab", "a*c", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesFilePattern(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;
}

TEST(RestoreRules, KeepsetStates)
{
    EXPECT_EQ(KeepsetStateOf("running"), KeepsetState::Running);
    EXPECT_EQ(KeepsetStateOf("Complete"), KeepsetState::Complete);
    EXPECT_EQ(KeepsetStateOf("errors"), KeepsetState::Errors);
    EXPECT_EQ(KeepsetStateOf(""), KeepsetState::Unknown);
    EXPECT_EQ(KeepsetStateOf("done"), KeepsetState::Unknown);
}

std::string Digest(char c)
{
    return std::string(64, c);
}

// Listed files against the manifest: verified, changed size, missing,
// unlisted; entries of other directories, of sub-directories and of other
// patterns are not this directory's.
TEST(RestoreRules, PlanAgainstTheManifest)
{
    const ParsedManifest manifest = ParseManifest(
        Digest('a') + "  qzt\\a.qzt\n" + Digest('b') + "  QZT\\B.qzt\n" + Digest('c') + "  qzt\\gone.qzt\n" +
            Digest('d') + "  qzt\\sub\\deep.qzt\n" + Digest('e') + "  db1\\vm001.dbf\n" + Digest('a') +
            "  qzt\\a.qzt\n" + Digest('f') + "  qzt\\nosize.qzt\n",
        "3  qzt\\a.qzt\n4  qzt\\b.qzt\n1  qzt\\gone.qzt\n");
    const std::vector<ListedFile> listed = {{"a.qzt", 3}, {"b.qzt", 5}, {"extra.qzt", 1}, {"nosize.qzt", 9}};

    const std::vector<PlannedFile> plan = PlanKeepsetDirectory(listed, &manifest, "qzt", "");
    ASSERT_EQ(plan.size(), 5u);
    EXPECT_EQ(plan[0].name, "a.qzt");
    EXPECT_EQ(plan[0].verdict, FileVerdict::Verified);
    EXPECT_EQ(plan[0].sha256, Digest('a'));
    EXPECT_EQ(plan[1].verdict, FileVerdict::Changed);
    EXPECT_EQ(plan[2].verdict, FileVerdict::Unlisted);
    EXPECT_EQ(plan[3].verdict, FileVerdict::Verified);  // size unknown: the hash decides
    EXPECT_EQ(plan[4].name, "gone.qzt");
    EXPECT_EQ(plan[4].verdict, FileVerdict::Missing);

    // One named file: the others of the directory are not asked for.
    const std::vector<PlannedFile> named = PlanKeepsetDirectory({}, &manifest, "db1", "vm001.dbf");
    ASSERT_EQ(named.size(), 1u);
    EXPECT_EQ(named[0].verdict, FileVerdict::Missing);
    EXPECT_TRUE(PlanKeepsetDirectory({}, &manifest, "db1", "qzlink.dbf").empty());

    // Without a manifest every listed file goes back unchecked.
    const std::vector<PlannedFile> old = PlanKeepsetDirectory(listed, nullptr, "qzt", "");
    ASSERT_EQ(old.size(), listed.size());
    for (const PlannedFile& file : old)
        EXPECT_EQ(file.verdict, FileVerdict::Unverified);
}

}  // namespace
