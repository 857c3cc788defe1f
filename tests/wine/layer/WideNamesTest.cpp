// Names the ANSI code page (Windows-1252 in the test prefix) cannot carry:
// the layer hands them out wrapped, takes them back in every file call, and
// shows them as the system's ANSI calls do.
#include "support/WideNames.h"
#include "support/WineHost.h"
#include "win/FileHash.h"
#include "win/Files.h"
#include "win/Registry.h"
#include "win/WideNames.h"
#include "win/WrappedNames.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>

namespace {

const std::string kGreek = "\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1";    // Ωμέγα
const std::string kChineseFolder = "\xe5\xad\x90\xe7\x9b\xae\xe5\xbd\x95";  // 子目录
const std::string kEmoji = "\xf0\x9f\x94\x94";                            // a bell

}  // namespace

TEST(WideNames, EveryFileCallTakesTheNamesASearchGives)
{
    ASSERT_EQ(GetACP(), 1252u);
    qztest::ScratchFolder folder("widenames");
    qztest::WriteFileUtf8(folder / ("caf\xc3\xa9 " + kGreek + ".txt"), "greek");
    qztest::WriteFileUtf8(folder / (kChineseFolder + "\\keep"), "");
    qztest::WriteFileUtf8(folder / "plain.txt", "plain");
    const std::map<std::string, std::string> ansi = qztest::AnsiNamesIn(folder.Path());

    std::map<std::string, std::string> exact;
    std::map<std::string, std::string> shown;
    for (const win::NameForm form : {win::NameForm::Exact, win::NameForm::Shown}) {
        win::DirectorySearch search(folder / "*.*", form);
        win::FoundEntry entry;
        while (search.Next(entry)) {
            (form == win::NameForm::Exact ? exact : shown)[entry.name] = win::ShownText(entry.name);
        }
    }
    ASSERT_EQ(exact.size(), 5u);
    // Shown: the same names as the ANSI search, and each exact name shows so.
    std::map<std::string, std::string> ansiNames;
    for (const auto& name : ansi)
        ansiNames[name.second] = name.second;
    EXPECT_EQ(shown, ansiNames);
    std::string greek;
    std::string chinese;
    for (const auto& name : exact) {
        EXPECT_EQ(ansiNames.count(name.second), 1u) << name.second;
        if (name.first.find("caf\xe9 ") == 0)
            greek = name.first;
        else if (name.second == "???")
            chinese = name.first;
    }
    // "é" is carried by the code page and stays its own byte.
    EXPECT_EQ(greek, "caf\xe9 " + std::string(1, win::kWrapStart) + kGreek + win::kWrapEnd + ".txt");
    ASSERT_TRUE(win::HoldsWrappedRuns(chinese));
    EXPECT_EQ(exact.at("plain.txt"), "plain.txt");

    const std::string file = folder / greek;
    const std::string directory = folder / chinese;
    EXPECT_TRUE(win::EntryExists(file));
    EXPECT_EQ(win::FileAttributes(directory), 16u);
    std::uint64_t size = 0;
    EXPECT_TRUE(win::FileSize(file, size));
    EXPECT_EQ(size, 5u);
    std::string content;
    EXPECT_TRUE(win::ReadWholeFile(file, content));
    EXPECT_EQ(content, "greek");
    std::string digest;
    EXPECT_TRUE(win::FileSha256(file, digest, size));
    EXPECT_EQ(size, 5u);

    const std::string bell = std::string(1, win::kWrapStart) + kEmoji + win::kWrapEnd;
    EXPECT_TRUE(win::CreateOneDirectory(directory + "\\" + bell));
    EXPECT_TRUE(win::CopyFileReplacing(file, directory + "\\" + bell + "\\" + greek));
    EXPECT_TRUE(win::SetFileAttributesTo(file, win::kAttributeReadOnly));
    EXPECT_EQ(win::FileAttributes(file) & win::kAttributeReadOnly, win::kAttributeReadOnly);
    EXPECT_TRUE(win::SetFileAttributesTo(file, win::kAttributeNormal));
    EXPECT_TRUE(win::WriteWholeFile(directory + "\\" + bell + ".new", "new"));
    EXPECT_TRUE(win::MoveReplacing(directory + "\\" + bell + ".new", directory + "\\" + bell + ".txt"));
    std::FILE* appended = win::OpenForAppend(directory + "\\" + bell + ".txt");
    ASSERT_NE(appended, nullptr);
    std::fputs("+", appended);
    std::fclose(appended);
    EXPECT_TRUE(win::RemoveFile(directory + "\\keep"));
    EXPECT_EQ(qztest::TreeUtf8(folder / kChineseFolder),
              (std::map<std::string, std::string>{{kEmoji + "\\", ""},
                                                  {kEmoji + "\\caf\xc3\xa9 " + kGreek + ".txt", "greek"},
                                                  {kEmoji + ".txt", "new+"}}));

    const std::string before = win::CurrentDirectory();
    ASSERT_TRUE(win::ChangeDirectory(directory));
    EXPECT_EQ(win::CurrentDirectory(), directory);
    ASSERT_TRUE(win::ChangeDirectory(before));

    // A broken wrapping names no file.
    for (const std::string& broken : {folder / (std::string(1, win::kWrapStart) + "x"),
                                      folder / (std::string(1, win::kWrapEnd) + "x")}) {
        EXPECT_FALSE(win::CreateOneDirectory(broken));
        EXPECT_EQ(win::LastError(), static_cast<unsigned long>(ERROR_INVALID_NAME));
        EXPECT_FALSE(win::EntryExists(broken));
    }
}

TEST(WideNames, FolderValuesAreReadWholeInWideCharacters)
{
    const char key[] = "Software\\QzkeepsetTest\\WideNames";
    const std::string folder = "C:\\" + kChineseFolder + "\\" + std::string(200, 'd') + "\\" + kGreek;
    qztest::SetRegistryStringUtf8(false, key, "Folder", folder);
    std::string read;
    EXPECT_TRUE(win::ReadRegistryPath(win::RegistryRoot::CurrentUser, key, "Folder", read));
    EXPECT_EQ(read, "C:\\" + std::string(1, win::kWrapStart) + kChineseFolder + win::kWrapEnd + "\\" +
                        std::string(200, 'd') + "\\" + win::kWrapStart + kGreek + win::kWrapEnd);
    EXPECT_EQ(win::ShownText(read), qztest::RegistryStringAnsi(false, key, "Folder"));
    EXPECT_FALSE(win::ReadRegistryPath(win::RegistryRoot::CurrentUser, key, "Missing", read));
    qztest::DeleteRegistryTree(false, "Software\\QzkeepsetTest");
}
