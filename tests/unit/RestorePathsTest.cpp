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

TEST(RestoreCommandLines, TheSafetyDumpAndTheLoad)
{
    EXPECT_EQ(SafetyDumpCommandLine("C:\\mysql\\bin", "C:\\mysql\\data", "alarm"),
              "C:\\mysql\\bin.\\mysqldump --opt -B -uroot -rC:\\mysql\\data.\\alarm.bkp alarm");
    EXPECT_EQ(LoadCommandLine("C:\\mysql\\bin", "alarm.sql"), "C:\\mysql\\bin.\\mysql.exe -u root -e\"source alarm.sql\"");
}

TEST(RestoreCommandLines, BlanksStayInsideOneArgument)
{
    EXPECT_EQ(SafetyDumpCommandLine("C:\\Program Files\\MySQL\\bin", "D:\\my data", "alarm"),
              "\"C:\\Program Files\\MySQL\\bin.\\mysqldump\" --opt -B -uroot \"-rD:\\my data.\\alarm.bkp\" alarm");
    EXPECT_EQ(LoadCommandLine("C:\\Program Files\\MySQL\\bin", "my alarm.sql"),
              "\"C:\\Program Files\\MySQL\\bin.\\mysql.exe\" -u root -e\"source my alarm.sql\"");
}

TEST(RestoreCommandLines, NoLineWithoutAProgramDirectory)
{
    // ".\mysqldump" would be looked for in the keepset's dump directory.
    EXPECT_EQ(SafetyDumpCommandLine("", "C:\\mysql\\data", "alarm"), "");
    EXPECT_EQ(LoadCommandLine("", "alarm.sql"), "");
    EXPECT_EQ(LoadCommandLine("C:\\my\"sql", "alarm.sql"), "");
}

}  // namespace
