// Where the files of a keepset go back to: additional entries, a keepset on
// a drive root, the places read from the registry and the configuration,
// and the configuration file in use.
#include "RestoreFixture.h"

#include <windows.h>

#include <string>

namespace restoretest {
namespace {

// Three forms of an additional entry: a directory, a directory with a
// trailing backslash, a file pattern; and a path longer than 127
// characters, which must not come back cut.
TEST_F(RestoreTest, AdditionalEntriesGoBackWhereTheyCameFrom)
{
    const std::string longDirectory = "long" + std::string(140, 'd');
    Saved("data\\extra\\e.bin", "extra");
    Saved("more\\m.bin", "more");
    Saved("data\\t.txt", "text");
    Saved("data\\skip.bin", "not a text");
    Saved(longDirectory + "\\l.bin", "long");
    for (const std::string& directory : {std::string("data\\extra"), std::string("more"), longDirectory})
        qztest::MakeDirectories(install_ / directory);
    Record("SaveAdd1=Q:\\data\\extra\r\nSaveAdd2=Q:\\more\\\r\nSaveAdd3=Q:\\data\\*.txt\r\nSaveAdd4=Q:\\" +
           longDirectory + "\r\n");

    EXPECT_TRUE(Run(Custom(OtherRoot(), {{Additional1, true},
                                         {Additional2, true},
                                         {Additional3, true},
                                         {Additional4, true}})));

    EXPECT_EQ(Installed("data\\extra\\e.bin"), "extra");
    EXPECT_EQ(Installed("more\\m.bin"), "more");
    EXPECT_EQ(Installed("data\\t.txt"), "text");
    EXPECT_FALSE(IsInstalled("data\\skip.bin"));
    EXPECT_EQ(Installed(longDirectory + "\\l.bin"), "long");
    const std::string root = keep_.Path();
    EXPECT_TRUE(Logged(root + ".\\data\\extra\\e.bin restored to Q:\\data\\extra\\e.bin"));
    EXPECT_TRUE(Logged(root + ".\\data\\\\t.txt restored to Q:\\data\\t.txt"));
    EXPECT_EQ(Summary(), kSuccessText);

    // The full restore takes them alike; unset entries are passed over.
    qztest::RemoveTree(install_ / "data\\extra\\e.bin");
    Record("SaveAdd2=Q:\\data\\extra\r\n");
    EXPECT_TRUE(Run(OtherRoot()));
    EXPECT_EQ(Installed("data\\extra\\e.bin"), "extra");
    EXPECT_EQ(LoggedLinesStartingWith(root + ".\\more"), 1u);
}

// D:\ as the root gives D:\.\qzt and so on, which name D:\qzt.
TEST_F(RestoreTest, AKeepsetOnADriveRoot)
{
    Saved("qzt\\a.qzt", "tool");
    Record("");
    qztest::MapDrive('R', keep_.Path());

    EXPECT_TRUE(Run(OtherRoot("R:\\")));
    qztest::UnmapDrive('R');

    EXPECT_EQ(Installed("qzt\\a.qzt"), "tool");
    const Lines texts = LogTexts();
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0], "Start full restore from R:\\");
    EXPECT_EQ(texts[1], Unverified("R:\\"));
    EXPECT_EQ(texts[2], "R:\\.\\qzt\\a.qzt restored to \\qzt\\a.qzt");
}

// The restore copies the files of a keepset directory, not its
// sub-directories.
TEST_F(RestoreTest, SubDirectoriesOfAKeepsetDirectoryStayBehind)
{
    Saved("web\\htdocs\\index.php", "<?php ?>");
    Saved("web\\htdocs\\inc\\lib.php", "library");
    Saved("web\\htdocs\\ini\\web.ini", "settings");
    qztest::MakeDirectories(install_ / "htdocs");
    Config("[Config]\r\nWebHtdocsPath=Q:\\htdocs\r\n");
    Record("SaveWeb=1\r\n");

    EXPECT_TRUE(Run(Custom(OtherRoot(), {{WebPrograms, true}})));

    const std::string root = keep_.Path();
    EXPECT_EQ(LogTexts(), (Lines{
                              "Start custom restore from " + root,
                              Unverified(root),
                              root + ".\\web\\htdocs\\index.php restored to Q:\\htdocs\\index.php",
                          }));
    EXPECT_FALSE(IsInstalled("htdocs\\inc"));
    EXPECT_FALSE(IsInstalled("htdocs\\ini"));
    EXPECT_EQ(Summary(), kSuccessText);
}

// A place that cannot be found is not the root of the current drive: the
// item is skipped, logged and counted as a failure, and the others go on.
TEST_F(RestoreTest, AnItemWithoutTargetIsAFailureAndWritesNothing)
{
    Saved("win\\qzrestoretest.ini", "ini");
    Saved("desktop\\all\\a.lnk", "all");
    Saved("desktop\\user\\u.lnk", "user");
    Saved("web\\htdocs\\index.php", "<?php ?>");
    Saved("extra.txt", "pattern without directory");
    Config("[Config]\r\nWebHtdocsPath=\r\n");
    Record("SaveDesktop=1\r\nSaveWeb=1\r\nSaveAdd1=*.txt\r\n");
    win::FailCall(win::Op::WindowsDirectory, 1, ERROR_INSUFFICIENT_BUFFER);
    win::FailCall(win::Op::RegistryOpen, 1, ERROR_FILE_NOT_FOUND);  // the all-users desktop

    EXPECT_TRUE(Run(Custom(OtherRoot(), {{WindowsIni, true}, {Desktop, true}, {WebPrograms, true},
                                         {Additional1, true}})));

    const std::string root = keep_.Path();
    EXPECT_EQ(LogTexts(),
              (Lines{
                  "Start custom restore from " + root,
                  Unverified(root),
                  "FAILED to restore " + root + ".\\win.\\*.*: no target directory, the Windows directory cannot be read",
                  "FAILED to restore " + root +
                      ".\\desktop\\all.\\*.*: no target directory, the all-users desktop folder cannot be read",
                  root + ".\\desktop\\user\\u.lnk restored to " + (desktops_ / "user\\u.lnk"),
                  "FAILED to restore " + root + ".\\web\\htdocs.\\*.*: no target directory, [Config] WebHtdocsPath is empty",
                  "FAILED to restore " + root + "..\\*.txt: no target directory, \"*.txt\" names no directory",
              }));
    for (const char* name : {"qzrestoretest.ini", "a.lnk", "index.php", "extra.txt"})
        EXPECT_FALSE(IsInstalled(name)) << name;
    EXPECT_FALSE(qztest::Exists(WindowsFile("qzrestoretest.ini")));
    EXPECT_EQ(Summary(), kErrorsText);
    EXPECT_EQ(host_.events, (Lines{"wait", "arrow", "close"}));
}

// The keepset's copy of the configuration file is older than the keepset's
// own record and the settings in use; it only comes back into a Windows
// directory that has none.
TEST_F(RestoreTest, TheConfigurationFileInUseIsKept)
{
    const std::string live = "[Config]\r\nWebHtdocsPath=Q:\\live\r\n";
    const std::string saved = "[Config]\r\nWebHtdocsPath=Q:\\old\r\n";
    Saved("win\\qzkeepset.ini", saved);
    Saved("win\\vmqzt.ini", "[VM]\r\nPort=1\r\n");
    Saved("win\\qzrestoretest.dll", "MZ");  // a save never puts anything but ini files there
    Config(live);
    Record("");

    EXPECT_TRUE(Run(Custom(OtherRoot(), {{WindowsIni, true}})));

    EXPECT_EQ(qztest::ReadFileText(qztest::ConfigFilePath()), live);
    EXPECT_EQ(qztest::ReadFileText(WindowsFile("vmqzt.ini")), "[VM]\r\nPort=1\r\n");
    EXPECT_FALSE(qztest::Exists(WindowsFile("qzrestoretest.dll")));
    const std::string root = keep_.Path();
    EXPECT_TRUE(Logged("Not restored: " + root +
                       ".\\win\\qzrestoretest.dll (a save puts only the configuration ini files into the win folder)"));
    EXPECT_TRUE(Logged("Kept the file in use: " + WindowsFile("qzkeepset.ini") + " (not replaced by " + root +
                       ".\\win\\qzkeepset.ini)"));
    EXPECT_EQ(Summary(), kSuccessText);

    // An installation set up anew has none: the keepset's copy comes back.
    qztest::RemoveConfigFile();
    EXPECT_TRUE(Run(Custom(OtherRoot(), {{WindowsIni, true}})));
    EXPECT_EQ(qztest::ReadFileText(qztest::ConfigFilePath()), saved);
    EXPECT_TRUE(Logged(root + ".\\win\\qzkeepset.ini restored to " + WindowsFile("qzkeepset.ini")));
}

}  // namespace
}  // namespace restoretest
