#include "config/MySqlPaths.h"
#include "config/SplitPath.h"

#include <gtest/gtest.h>

namespace {

std::string Joined(const PathParts& parts)
{
    return parts.drive + "|" + parts.directory + "|" + parts.fileName + "|" + parts.extension;
}

}  // namespace

TEST(SplitPath, SplitsLikeTheRuntime)
{
    EXPECT_EQ(Joined(SplitPath("C:\\mysql\\bin\\mysqld-nt.exe")), "C:|\\mysql\\bin\\|mysqld-nt|.exe");
    EXPECT_EQ(Joined(SplitPath("C:/mysql/bin/mysqld")), "C:|/mysql/bin/|mysqld|");
    // The extension starts at the last dot of the name, not of the path.
    EXPECT_EQ(Joined(SplitPath("d:\\my.sql\\bin\\a.tar.gz")), "d:|\\my.sql\\bin\\|a.tar|.gz");
    EXPECT_EQ(Joined(SplitPath("d:\\my.sql\\bin\\mysqld")), "d:|\\my.sql\\bin\\|mysqld|");
    EXPECT_EQ(Joined(SplitPath("\\\\server\\share\\x.exe")), "|\\\\server\\share\\|x|.exe");
    EXPECT_EQ(Joined(SplitPath("C:")), "C:|||");
    EXPECT_EQ(Joined(SplitPath("mysqld.exe")), "||mysqld|.exe");
    EXPECT_EQ(Joined(SplitPath("")), "|||");
}

TEST(MySqlPaths, BinDirectoryAppendsExactlyDotBin)
{
    EXPECT_EQ(BinDirectoryFromBaseDir("C:/mysql"), "C:/mysql.\\bin");
    EXPECT_EQ(BinDirectoryFromBaseDir("C:\\mysql\\"), "C:\\mysql\\.\\bin");
}

TEST(MySqlPaths, ImagePathGivesDriveAndDirectoryOfTheProgram)
{
    EXPECT_EQ(BinDirectoryFromImagePath("C:\\mysql\\bin\\mysqld-nt.exe"), "C:\\mysql\\bin\\");
    // Options may name paths of their own; they fall away from the first " -".
    EXPECT_EQ(BinDirectoryFromImagePath("C:\\mysql\\bin\\mysqld-nt.exe --defaults-file=C:\\x\\my.ini MySql"),
              "C:\\mysql\\bin\\");
    EXPECT_EQ(BinDirectoryFromImagePath("D:\\qz_mysql\\bin\\mysqld.exe -b D:\\qz_mysql\\ -P 3306"),
              "D:\\qz_mysql\\bin\\");
    // A hyphen inside a name is no option.
    EXPECT_EQ(BinDirectoryFromImagePath("C:\\my-sql\\bin\\mysqld-nt.exe"), "C:\\my-sql\\bin\\");
    // A quoted program path with blanks: the quotes do not stay in the result.
    EXPECT_EQ(BinDirectoryFromImagePath("\"C:\\Program Files\\My -SQL\\bin\\mysqld.exe\" --defaults-file=\"C:\\a b\\my.ini\" MySQL"),
              "C:\\Program Files\\My -SQL\\bin\\");
    EXPECT_EQ(BinDirectoryFromImagePath("\"C:\\mysql\\bin\\mysqld.exe"), "C:\\mysql\\bin\\");
    EXPECT_EQ(BinDirectoryFromImagePath("mysqld.exe --console"), "");
}

TEST(MySqlPaths, DataDirectoryReplacesTheBinComponent)
{
    EXPECT_EQ(DataDirectoryFromBinDirectory("C:\\mysql\\bin\\"), "C:\\mysql\\.\\data");
    EXPECT_EQ(DataDirectoryFromBinDirectory("C:\\mysql\\bin"), "C:\\mysql.\\data");
    // From a basedir: C:\mysql..\data would name no directory, and
    // C:\mysql\..\data the parent's.
    EXPECT_EQ(DataDirectoryFromBinDirectory("C:\\mysql.\\bin"), "C:\\mysql.\\data");
    EXPECT_EQ(DataDirectoryFromBinDirectory("C:\\mysql\\.\\bin"), "C:\\mysql\\.\\data");
    // Too short to hold more than a "bin" component: nothing is derived.
    EXPECT_EQ(DataDirectoryFromBinDirectory("\\bin"), "");
    EXPECT_EQ(DataDirectoryFromBinDirectory("C:\\b"), "");
    EXPECT_EQ(DataDirectoryFromBinDirectory(""), "");
}
