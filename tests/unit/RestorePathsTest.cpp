#include "restore/RestoreCommandLines.h"
#include "restore/RestorePaths.h"

#include <gtest/gtest.h>

namespace {

TEST(AdditionalEntry, ADirectoryWithOrWithoutTrailingBackslash)
{
    const AdditionalEntry plain = AdditionalEntryOf("C:\\data\\extra");
    EXPECT_EQ(plain.subDirectory, "\\data\\extra");
    EXPECT_EQ(plain.pattern, "");
    EXPECT_EQ(plain.target, "C:\\data\\extra");
    EXPECT_EQ(KeepsetSearch("E:\\bk", plain.subDirectory, plain.pattern), "E:\\bk.\\data\\extra.\\*.*");

    const AdditionalEntry slash = AdditionalEntryOf("C:\\data\\extra\\");
    EXPECT_EQ(slash.subDirectory, "\\data\\extra\\");
    EXPECT_EQ(slash.pattern, "");
    EXPECT_EQ(slash.target, "C:\\data\\extra\\");
}

TEST(AdditionalEntry, AFilePatternGoesBackIntoItsDirectory)
{
    const AdditionalEntry entry = AdditionalEntryOf("C:\\data\\*.txt");
    EXPECT_EQ(entry.subDirectory, "\\data\\");
    EXPECT_EQ(entry.pattern, "*.txt");
    EXPECT_EQ(entry.target, "C:\\data");

    const AdditionalEntry onRoot = AdditionalEntryOf("C:\\*.txt");
    EXPECT_EQ(onRoot.subDirectory, "\\");
    EXPECT_EQ(onRoot.target, "C:\\");
}

// A keepset's record decides where its additional directories go back:
// only full paths that stay where they say.
TEST(AdditionalEntry, OnlyAFullPathWithoutDotPartsIsWrittenInto)
{
    for (const char* safe : {"C:\\data\\extra", "C:\\data\\extra\\", "C:\\data\\*.txt", "d:/data/x", "C:\\",
                             "\\\\nas\\share", "\\\\nas\\share\\data\\", "C:\\a..b\\.hidden"})
        EXPECT_TRUE(IsSafeAdditionalPath(safe)) << safe;
    for (const char* refused :
         {"", "data\\extra", "\\data\\extra", "C:data", "C:", "*.txt", "C:\\data\\..\\windows", "C:\\data\\..",
          "C:\\data\\.\\x", "C:\\data\\...\\x", "C:\\data\\. .\\x", "C:/data/../x", "\\\\nas", "\\\\nas\\",
          "\\\\nas\\\\share", "\\\\.\\C:\\x", "\\\\?\\C:\\x", "C:\\*\\x", "C:\\d?ta\\x.txt"})
        EXPECT_FALSE(IsSafeAdditionalPath(refused)) << refused;
}

TEST(RestoreCommandLines, TheCheckTheSafetyDumpTheLoadAndTheDrop)
{
    EXPECT_EQ(DatabaseExistsCommandLine("C:\\mysql\\bin", "alarm"),
              "C:\\mysql\\bin.\\mysql.exe -u root -N -B -e\"SELECT COUNT(*) FROM information_schema.SCHEMATA "
              "WHERE SCHEMA_NAME='alarm'\"");
    EXPECT_EQ(SafetyDumpCommandLine("C:\\mysql\\bin", "C:\\mysql\\data.\\alarm.20261207-101831.bkp", "alarm"),
              "C:\\mysql\\bin.\\mysqldump --opt -B -uroot -rC:\\mysql\\data.\\alarm.20261207-101831.bkp alarm");
    EXPECT_EQ(LoadCommandLine("C:\\mysql\\bin"), "C:\\mysql\\bin.\\mysql.exe -u root");
    EXPECT_EQ(DropDatabaseCommandLine("C:\\mysql\\bin", "alarm"),
              "C:\\mysql\\bin.\\mysql.exe -u root -e\"DROP DATABASE IF EXISTS `alarm`\"");
}

TEST(RestoreCommandLines, BlanksStayInsideOneArgument)
{
    EXPECT_EQ(SafetyDumpCommandLine("C:\\Program Files\\MySQL\\bin", "D:\\my data.\\alarm.x.bkp", "alarm"),
              "\"C:\\Program Files\\MySQL\\bin.\\mysqldump\" --opt -B -uroot \"-rD:\\my data.\\alarm.x.bkp\" alarm");
    EXPECT_EQ(LoadCommandLine("C:\\Program Files\\MySQL\\bin"), "\"C:\\Program Files\\MySQL\\bin.\\mysql.exe\" -u root");
}

TEST(RestoreCommandLines, NoLineWithoutAProgramDirectory)
{
    // ".\mysqldump" would be looked for in the current directory.
    EXPECT_EQ(SafetyDumpCommandLine("", "C:\\mysql\\data.\\alarm.bkp", "alarm"), "");
    EXPECT_EQ(LoadCommandLine(""), "");
    EXPECT_EQ(LoadCommandLine("C:\\my\"sql"), "");
    EXPECT_EQ(DatabaseExistsCommandLine("", "alarm"), "");
    EXPECT_EQ(DropDatabaseCommandLine("C:\\my\"sql", "alarm"), "");
}

TEST(RestoreCommandLines, EachSafetyDumpItsOwnNameAndTheCheckReadStrictly)
{
    const LocalDateTime now{2027, 3, 1, 9, 5, 7};
    EXPECT_EQ(SafetyDumpFileName("C:\\data", "alarm", now, 1), "C:\\data.\\alarm.20270301-090507.bkp");
    EXPECT_EQ(SafetyDumpFileName("C:\\data", "alarm", now, 3), "C:\\data.\\alarm.20270301-090507-3.bkp");
    bool exists = false;
    EXPECT_TRUE(ReadDatabaseCount("1\n", exists));
    EXPECT_TRUE(exists);
    EXPECT_TRUE(ReadDatabaseCount("0\r\n", exists));
    EXPECT_FALSE(exists);
    for (const char* unclear : {"", "1", "2\n", "0\n0\n", "ERROR 2002 (HY000): Can't connect\n"})
        EXPECT_FALSE(ReadDatabaseCount(unclear, exists)) << unclear;

    EXPECT_EQ(ClientMessage("--------------\r\nINSERT x\n--------------\n\nERROR 1064 (42000) at line 5: near ''\r\n"),
              "ERROR 1064 (42000) at line 5: near ''");
    EXPECT_EQ(ClientMessage("  \n----\nmysqldump: Got error: 1049\nlater\n"), "mysqldump: Got error: 1049");
    EXPECT_EQ(ClientMessage("-----\n"), "");
}

}  // namespace
