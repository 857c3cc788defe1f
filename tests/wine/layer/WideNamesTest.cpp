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
#include <set>

namespace {

const std::string kGreek = "\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1";    // Ωμέγα
const std::string kChineseFolder = "\xe5\xad\x90\xe7\x9b\xae\xe5\xbd\x95";  // 子目录
const std::string kEmoji = "\xf0\x9f\x94\x94";                            // a bell

std::string Wrapped(const std::string& utf8)
{
    return win::kWrapStart + utf8 + win::kWrapEnd;
}

std::set<std::string> Found(const std::string& pattern, win::NameForm form)
{
    std::set<std::string> names;
    win::DirectorySearch search(pattern, form);
    win::FoundEntry entry;
    while (search.Next(entry))
        names.insert(entry.name);
    return names;
}

}  // namespace

TEST(WideNames, EveryFileCallTakesTheNamesASearchGives)
{
    ASSERT_EQ(GetACP(), 1252u);
    qztest::ScratchFolder folder("widenames");
    qztest::WriteFileUtf8(folder / ("caf\xc3\xa9 " + kGreek + ".txt"), "greek");
    qztest::WriteFileUtf8(folder / (kChineseFolder + "\\keep"), "");
    // "é" is carried by the code page and stays its own byte.
    const std::string greek = "caf\xe9 " + Wrapped(kGreek) + ".txt";
    const std::string chinese = Wrapped(kChineseFolder);
    EXPECT_EQ(Found(folder / "*.*", win::NameForm::Exact), (std::set<std::string>{".", "..", greek, chinese}));

    // Shown, each name has "?" for what the code page lacks, where the
    // ANSI search gives look-alikes ("\xce\xa9" as "O", "\xce\xbc" as the
    // micro sign): another name.
    std::set<std::string> ansi;
    for (const auto& name : qztest::AnsiNamesIn(folder.Path()))
        ansi.insert(name.second);
    EXPECT_EQ(Found(folder / "*.*", win::NameForm::Shown), (std::set<std::string>{".", "..", "caf\xe9 ?????.txt", "???"}));
    EXPECT_EQ(ansi.count("???"), 1u);
    EXPECT_EQ(ansi.count("caf\xe9 ?????.txt"), 0u) << "the ANSI search no longer uses look-alikes";
    EXPECT_EQ(win::ShownText(chinese), "???");

    const std::string file = folder / greek;
    const std::string directory = folder / chinese;
    const std::string bell = directory + "\\" + Wrapped(kEmoji);
    std::uint64_t size = 0;
    std::string content;
    std::string digest;
    EXPECT_TRUE(win::EntryExists(file));
    EXPECT_EQ(win::FileAttributes(directory), 16u);
    EXPECT_TRUE(win::FileSize(file, size) && size == 5);
    EXPECT_TRUE(win::ReadWholeFile(file, content) && content == "greek");
    EXPECT_TRUE(win::FileSha256(file, digest, size) && size == 5);
    EXPECT_TRUE(win::CreateOneDirectory(bell));
    EXPECT_TRUE(win::CopyFileReplacing(file, bell + "\\" + greek));
    EXPECT_TRUE(win::SetFileAttributesTo(file, win::kAttributeReadOnly));
    EXPECT_EQ(win::FileAttributes(file) & win::kAttributeReadOnly, win::kAttributeReadOnly);
    EXPECT_TRUE(win::SetFileAttributesTo(file, win::kAttributeNormal));
    EXPECT_TRUE(win::WriteWholeFile(bell + ".new", "new"));
    EXPECT_TRUE(win::MoveReplacing(bell + ".new", bell + ".txt"));
    std::FILE* appended = win::OpenForAppend(bell + ".txt");
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
    for (const char broken : {win::kWrapStart, win::kWrapEnd}) {
        EXPECT_FALSE(win::CreateOneDirectory(folder / (broken + std::string("x"))));
        EXPECT_EQ(win::LastError(), static_cast<unsigned long>(ERROR_INVALID_NAME));
    }
}

TEST(WideNames, FolderValuesAreReadWholeInWideCharacters)
{
    const char key[] = "Software\\QzkeepsetTest\\WideNames";
    const std::string folder = "C:\\" + kChineseFolder + "\\" + std::string(200, 'd') + "\\" + kGreek;
    qztest::SetRegistryStringUtf8(false, key, "Folder", folder);
    std::string read;
    EXPECT_TRUE(win::ReadRegistryPath(win::RegistryRoot::CurrentUser, key, "Folder", read));
    EXPECT_EQ(read, "C:\\" + Wrapped(kChineseFolder) + "\\" + std::string(200, 'd') + "\\" + Wrapped(kGreek));
    EXPECT_EQ(win::ShownText(read), "C:\\???\\" + std::string(200, 'd') + "\\?????");
    EXPECT_FALSE(win::ReadRegistryPath(win::RegistryRoot::CurrentUser, key, "Missing", read));
    qztest::DeleteRegistryTree(false, "Software\\QzkeepsetTest");
}

// No look-alike stands in for a character the code page lacks: a
// full-width ".." is no parent directory and "Ł" no "L", neither as a name
// nor as it is shown.
TEST(WideNames, NoBestFitLookAlikes)
{
    ASSERT_EQ(GetACP(), 1252u);
    struct Case {
        std::wstring wide;
        std::string name;
        std::string shown;
    };
    const Case cases[] = {
        {L"\xFF0E\xFF0E", Wrapped("\xef\xbc\x8e\xef\xbc\x8e"), "??"},  // full-width dots
        {L"\x0141" L"odz", Wrapped("\xc5\x81") + "odz", "?odz"},
        {L"a\x2215" L"b", "a" + Wrapped("\xe2\x88\x95") + "b", "a?b"},  // a division slash
    };
    for (const Case& c : cases) {
        EXPECT_EQ(win::FromWide(c.wide), c.name) << c.shown;
        EXPECT_EQ(win::ShownText(c.name), c.shown);
    }
}
