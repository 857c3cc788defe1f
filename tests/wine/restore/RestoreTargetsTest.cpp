// Where the files of a keepset go back to: additional entries, a keepset on
// a drive root, the places read from the registry and the configuration,
// and the configuration file in use.
#include "RestoreFixture.h"

#include "support/WideNames.h"
#include "win/EntryIdentity.h"

#include <windows.h>

#include <cstring>
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

    // The question names what the keepset's record sends where.
    EXPECT_EQ(boxes_[0].text.substr(boxes_[0].text.find("\n\n")),
              "\n\nAll additonal files from directory: Q:\\data\\extra\nAll additonal files from directory: "
              "Q:\\more\\\nAll additonal files from directory: Q:\\data\\*.txt\nAll additonal files from directory: "
              "Q:\\" + longDirectory);

    // The full restore takes them alike; unset entries are passed over.
    qztest::RemoveTree(install_ / "data\\extra\\e.bin");
    Record("SaveAdd2=Q:\\data\\extra\r\n");
    boxes_.clear();
    EXPECT_TRUE(Run(OtherRoot()));
    EXPECT_EQ(Installed("data\\extra\\e.bin"), "extra");
    EXPECT_EQ(LoggedLinesStartingWith(root + ".\\more"), 1u);
    EXPECT_NE(boxes_[0].text.find("\n\nAll additonal files from directory: Q:\\data\\extra"), std::string::npos);

    // A record's path that is relative, or leads out with "..", is refused
    // before anything is read or written there; the keepset's files of it
    // stay where they are.
    Saved("data\\extra\\up\\u.bin", "up");
    qztest::MakeDirectories(install_ / "data\\extra\\up");
    const std::string refused[] = {"Q:\\data\\extra\\up\\..\\..", "data\\extra\\up", "\\data\\extra\\up",
                                   "Q:data\\extra\\up", "Q:\\data\\extra\\up\\. .\\"};
    for (const std::string& value : refused) {
        Record("SaveAdd1=" + value + "\r\n");
        boxes_.clear();
        EXPECT_FALSE(Run(Custom(OtherRoot(), {{Additional1, true}}))) << value;
        EXPECT_TRUE(Logged("FAILED to restore the additional directory " + value +
                           ": not a full path, or a path with a \"..\" part; nothing is restored there"))
            << value;
        EXPECT_EQ(Summary(), kErrorsText) << value;
    }
    EXPECT_FALSE(IsInstalled("data\\extra\\up\\u.bin"));
    EXPECT_FALSE(IsInstalled("u.bin"));
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
    // The second: the first looks for the installation directory.
    win::FailCall(win::Op::RegistryOpen, 2, ERROR_FILE_NOT_FOUND);  // the all-users desktop

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
                  "FAILED to restore the additional directory *.txt: not a full path, or a path with a \"..\" part; "
                  "nothing is restored there",
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

    // Nor does a keepset file whose name is another name of it: its short
    // name, another case, trailing dots (made through the Unix name, as
    // the system's calls drop them).
    char shortPath[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA(qztest::ConfigFilePath().c_str(), shortPath, MAX_PATH), 0u);
    const std::string shortName = std::strrchr(shortPath, '\\') + 1;
    qztest::RemoveTree(keep_ / "win\\qzkeepset.ini");
    for (const std::string& alias : {shortName, std::string("QzKeepSet.INI"), std::string("qzkeepset.ini..")}) {
        qztest::RemoveTree(keep_ / "win");
        qztest::MakeDirectories(keep_ / "win");
        ASSERT_EQ(qztest::RunUnix({"/bin/sh", "-c", "printf old > '" + qztest::UnixPathOf(keep_ / "win") + "/" + alias + "'"}), 0);
        EXPECT_FALSE(Run(Custom(OtherRoot(), {{WindowsIni, true}}))) << alias;
        EXPECT_EQ(qztest::ReadFileText(qztest::ConfigFilePath()), live) << alias;
        EXPECT_EQ(Summary(), kNothingText) << alias << ": " << LogTexts().back();
    }
    Saved("win\\qzkeepset.ini", saved);

    // An installation set up anew has none: the keepset's copy comes back.
    qztest::RemoveConfigFile();
    EXPECT_TRUE(Run(Custom(OtherRoot(), {{WindowsIni, true}})));
    EXPECT_EQ(qztest::ReadFileText(qztest::ConfigFilePath()), saved);
    EXPECT_TRUE(Logged(root + ".\\win\\qzkeepset.ini restored to " + WindowsFile("qzkeepset.ini")));
}

// The installation's directories go to the drive of the registered
// installation directory, not to the drive the program runs on (Q:).
TEST_F(RestoreTest, TheInstallationDriveIsTheRegisteredOne)
{
    qztest::ScratchFolder drive("restore-drive");
    qztest::MakeDirectories(drive / "qzt");
    qztest::MapDrive('R', drive.Path());
    qztest::SetRegistryString(true, kInstallationKey, "Directory", "R:\\alarm");
    Saved("qzt\\a.qzt", "tool");
    Record("");

    EXPECT_TRUE(Run(Custom(OtherRoot(), {{QztDirectory, true}})));
    qztest::UnmapDrive('R');

    EXPECT_EQ(qztest::ReadFileText(drive / "qzt\\a.qzt"), "tool");
    EXPECT_FALSE(IsInstalled("qzt\\a.qzt"));
    EXPECT_TRUE(Logged(keep_.Path() + ".\\qzt\\a.qzt restored to R:\\qzt\\a.qzt"));
}

// Nothing is written through a target directory that is a symbolic link
// (under Wine a Unix link, which it shows as a reparse point), nor into the
// directory it points to.
TEST_F(RestoreTest, ATargetDirectoryThatIsALinkIsRefused)
{
    qztest::ScratchFolder elsewhere("restore-elsewhere");
    qztest::RemoveTree(install_ / "qzt");
    ASSERT_EQ(qztest::RunUnix({"/bin/ln", "-s", qztest::UnixPathOf(elsewhere.Path()),
                               qztest::UnixPathOf(install_.Path()) + "/qzt"}),
              0);
    win::EntryIdentity link;
    ASSERT_TRUE(win::ExamineEntry(install_ / "qzt", link));
    if (!win::IsReparsePoint(link))
        GTEST_SKIP() << "this Wine does not show a symbolic link as a reparse point";
    Saved("qzt\\a.qzt", "tool");
    Saved("db1\\vm001.dbf", "alarm configuration");
    Record("");

    EXPECT_TRUE(Run(OtherRoot()));

    EXPECT_FALSE(qztest::Exists(elsewhere / "a.qzt"));
    EXPECT_EQ(qztest::AnsiNamesIn(elsewhere.Path()).size(), 2u);  // "." and ".."
    EXPECT_TRUE(Logged("FAILED to restore " + keep_.Path() + ".\\qzt\\a.qzt to \\qzt\\a.qzt ! (the target directory is "
                       "a junction, symbolic link or mount point: nothing is written through it)"));
    EXPECT_EQ(Installed("db1\\vm001.dbf"), "alarm configuration");
    EXPECT_EQ(Summary(), kErrorsText);
}

}  // namespace
}  // namespace restoretest
