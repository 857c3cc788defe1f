// The start of the program with [Config] "DefaultLanguage" naming a
// language: the library it loads becomes its resource module, so that its
// texts, its dialogs and its icons are those of the library. A window
// titled like the main window in that language ends the start before the
// main window opens.
#include "LanguageLibraries.h"

#include "app/BackupApp.h"
#include "resource.h"
#include "support/DialogTemplate.h"
#include "support/ProfileFiles.h"
#include "support/TestSkips.h"
#include "support/WineHost.h"
#include "ui/AboutDialog.h"
#include "win/Images.h"
#include "win/MessageBoxes.h"
#include "win/Texts.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

using langtest::Language;

class LanguageAtStart : public ::testing::TestWithParam<Language> {
protected:
    void SetUp() override
    {
        QZ_REQUIRE_DISPLAY();
        library = langtest::LoadLanguageLibrary(GetParam());
        ASSERT_NE(library, nullptr);
        // The program finds the library beside itself; here it is in bin.
        char path[MAX_PATH] = "";
        ASSERT_NE(GetModuleFileNameA(library, path, sizeof path), 0u);
        const std::string file = path;
        ASSERT_TRUE(SetDllDirectoryA(file.substr(0, file.find_last_of('\\')).c_str()));
        win::SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
            boxes.push_back(text);
            return win::kAnswerOk;
        });
        const std::string code = GetParam().code;
        qztest::WriteProfileFile(qztest::ConfigFilePath(),
                                 "[Config]\r\nDefaultLanguage=" + std::string(code == "dt" ? "DT" : "FR") + "\r\n");
    }

    void TearDown() override
    {
        for (HWND window : {runningCopy, englishCopy})
            if (window != nullptr)
                DestroyWindow(window);
        win::SetResourceModule(nullptr);
        win::SetMessageBoxHandler(nullptr);
        SetDllDirectoryA(nullptr);
        qztest::RemoveConfigFile();
    }

    // A window of some program with this title, minimised.
    static HWND OpenMinimised(const std::string& title)
    {
        const HWND window = CreateWindowExA(0, "STATIC", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                           200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(window, nullptr);
        ShowWindow(window, SW_MINIMIZE);
        return window;
    }

    HMODULE library = nullptr;
    HWND runningCopy = nullptr;
    HWND englishCopy = nullptr;
    std::vector<std::string> boxes;
};

std::string NameOf(const ::testing::TestParamInfo<Language>& info)
{
    return info.param.name;
}

}  // namespace

TEST_P(LanguageAtStart, TheLoadedLibraryBecomesTheResourceModule)
{
    const std::string title = langtest::TextOf(library, IDS_MAIN_TITLE);
    const std::string englishTitle = langtest::TextOf(GetModuleHandleA(nullptr), IDS_MAIN_TITLE);
    ASSERT_NE(title, englishTitle);
    runningCopy = OpenMinimised(title);
    // Ends the start too where the texts stayed English.
    englishCopy = OpenMinimised(englishTitle);

    BackupApp app;
    EXPECT_EQ(app.InitInstance({}), 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(app.LanguageLibrary, library);
    EXPECT_EQ(win::ResourceModule(), library);

    // A string: the start found the running copy by the library's title.
    EXPECT_FALSE(IsIconic(runningCopy));
    EXPECT_TRUE(IsIconic(englishCopy));
    EXPECT_EQ(win::LoadText(IDS_SAVE_DATA), langtest::TextOf(library, IDS_SAVE_DATA));

    // A dialog: made from the library's template.
    qztest::DialogTemplate translated;
    ASSERT_TRUE(qztest::ReadDialogTemplate(library, IDD_ABOUT, translated));
    AboutDialog about;
    ASSERT_TRUE(about.Create());
    EXPECT_EQ(reinterpret_cast<HMODULE>(GetWindowLongPtrA(about.Window(), GWLP_HINSTANCE)), library);
    char caption[256] = "";
    GetWindowTextA(about.Window(), caption, sizeof caption);
    EXPECT_EQ(std::string(caption), translated.caption);

    // An icon: loaded from the library's resources.
    const HICON icon = win::LoadIconResource(IDI_PROGRAM, 32, 32);
    ASSERT_NE(icon, nullptr);
    ICONINFOEXA info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetIconInfoExA(icon, &info));
    const std::string module = info.szModName;
    EXPECT_EQ(module.substr(module.find_last_of('\\') + 1), langtest::LibraryName(GetParam()));
    EXPECT_EQ(info.wResID, IDI_PROGRAM);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageAtStart, ::testing::ValuesIn(langtest::Languages()), NameOf);
