// The dialogs of each language library are the program's own dialogs with
// other texts: the same size, styles and font, and the same controls in the
// same order (tab order and radio groups follow it) with the same ids,
// classes, rectangles and styles. Only the texts differ; icons and the
// picture are the same resources.
#include "LanguageLibraries.h"

#include <gtest/gtest.h>

#include "resource.h"
#include "support/DialogTemplate.h"

#include <string>

namespace {

using langtest::Language;

const int dialogIds[] = {IDD_ABOUT, IDD_MAIN, IDD_SETTINGS, IDD_RESTORE, IDD_FOLDER_BROWSER};

bool IsResourceReference(const std::string& text)
{
    return !text.empty() && text[0] == '#';
}

void ExpectSameLayout(const qztest::DialogTemplate& english, const qztest::DialogTemplate& translated)
{
    EXPECT_EQ(translated.style, english.style);
    EXPECT_EQ(translated.exStyle, english.exStyle);
    EXPECT_EQ(translated.cx, english.cx);
    EXPECT_EQ(translated.cy, english.cy);
    EXPECT_EQ(translated.fontName, english.fontName);
    EXPECT_EQ(translated.pointSize, english.pointSize);
    EXPECT_NE(translated.caption, "");
    ASSERT_EQ(translated.items.size(), english.items.size());
    for (std::size_t i = 0; i < english.items.size(); ++i) {
        const qztest::DialogItem& want = english.items[i];
        const qztest::DialogItem& have = translated.items[i];
        SCOPED_TRACE("control #" + std::to_string(i) + " (id " + std::to_string(want.id) + ")");
        EXPECT_EQ(have.id, want.id);
        EXPECT_EQ(have.className, want.className);
        EXPECT_EQ(have.style, want.style);
        EXPECT_EQ(have.exStyle, want.exStyle);
        EXPECT_EQ(have.x, want.x);
        EXPECT_EQ(have.y, want.y);
        EXPECT_EQ(have.cx, want.cx);
        EXPECT_EQ(have.cy, want.cy);
        // An icon or picture is the same resource; a control with a text
        // has one, and one without has none.
        if (IsResourceReference(want.text)) {
            EXPECT_EQ(have.text, want.text);
        } else {
            EXPECT_EQ(have.text.empty(), want.text.empty()) << have.text;
        }
    }
}

class LanguageDialogLayout : public ::testing::TestWithParam<Language> {};

std::string NameOf(const ::testing::TestParamInfo<Language>& info)
{
    return info.param.name;
}

}  // namespace

TEST_P(LanguageDialogLayout, EveryDialogHasTheEnglishLayoutWithItsOwnTexts)
{
    HMODULE library = langtest::LoadLanguageLibrary(GetParam());
    ASSERT_NE(library, nullptr);
    for (int id : dialogIds) {
        SCOPED_TRACE("dialog " + std::to_string(id));
        qztest::DialogTemplate english, translated;
        ASSERT_TRUE(qztest::ReadDialogTemplate(nullptr, id, english));
        ASSERT_TRUE(qztest::ReadDialogTemplate(library, id, translated));
        ExpectSameLayout(english, translated);
    }
}

TEST_P(LanguageDialogLayout, CommandButtonsAndLabelsAreTranslated)
{
    HMODULE library = langtest::LoadLanguageLibrary(GetParam());
    ASSERT_NE(library, nullptr);
    const struct {
        int dialog;
        int control;
    } translatedControls[] = {
        {IDD_MAIN, IDC_BROWSE},          {IDD_MAIN, IDC_SHOW_LOGFILE},       {IDD_MAIN, IDOK},
        {IDD_SETTINGS, IDCANCEL},        {IDD_SETTINGS, IDC_SET_SAVE_WEB},   {IDD_RESTORE, IDC_RST_FULL_RESTORE},
        {IDD_RESTORE, IDC_RST_SELECT_ROOT}, {IDD_FOLDER_BROWSER, IDC_BRW_PATH_LABEL},
    };
    for (const auto& control : translatedControls) {
        qztest::DialogTemplate english, translated;
        ASSERT_TRUE(qztest::ReadDialogTemplate(nullptr, control.dialog, english));
        ASSERT_TRUE(qztest::ReadDialogTemplate(library, control.dialog, translated));
        ASSERT_NE(english.Item(control.control), nullptr);
        ASSERT_NE(translated.Item(control.control), nullptr);
        EXPECT_NE(translated.Item(control.control)->text, english.Item(control.control)->text)
            << "dialog " << control.dialog << ", control " << control.control;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageDialogLayout, ::testing::ValuesIn(langtest::Languages()), NameOf);
