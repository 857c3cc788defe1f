// Each language library holds every resource the program loads, under the
// program's ids: the program makes the library its resource module and
// from then on looks up nothing anywhere else. Its texts are translations
// that keep the placeholders of the English texts, and its umlauts and
// accents arrive in the Windows-1252 bytes the program shows.
#include "LanguageLibraries.h"

#include <gtest/gtest.h>

#include "resource.h"
#include "support/DialogTemplate.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using langtest::Language;

const int dialogIds[] = {IDD_ABOUT, IDD_MAIN, IDD_SETTINGS, IDD_RESTORE, IDD_FOLDER_BROWSER};
const int iconIds[] = {IDI_PROGRAM,       IDI_SETTINGS, IDI_EXIT,     IDI_RECOVERY_DISK,
                       IDI_SAVE,          IDI_SHOW_LOG, IDI_RESTORE};

// The program's texts: the first range and the later additions.
std::vector<unsigned> TextIds()
{
    std::vector<unsigned> ids;
    for (unsigned id = IDS_FIRST; id <= IDS_LAST; ++id)
        ids.push_back(id);
    for (unsigned id = IDS_RECORD_WRITE_FAILED; id <= IDS_ANOTHER_COPY_RUNS; ++id)
        ids.push_back(id);
    return ids;
}

HMODULE Program()
{
    return GetModuleHandleA(nullptr);
}

bool EndsWithBlank(const std::string& text)
{
    return !text.empty() && text.back() == ' ';
}

bool HasResource(HMODULE module, int id, LPCSTR type)
{
    return FindResourceA(module, MAKEINTRESOURCEA(id), type) != nullptr;
}

class LanguageLibrary : public ::testing::TestWithParam<Language> {
protected:
    void SetUp() override
    {
        library = langtest::LoadLanguageLibrary(GetParam());
        ASSERT_NE(library, nullptr) << langtest::LibraryName(GetParam()) << " does not load: " << GetLastError();
    }

    std::string Text(unsigned id) const { return langtest::TextOf(library, id); }

    HMODULE library = nullptr;
};

std::string NameOf(const ::testing::TestParamInfo<Language>& info)
{
    return info.param.name;
}

}  // namespace

TEST_P(LanguageLibrary, HoldsEveryResourceTheProgramLoads)
{
    for (unsigned id : TextIds())
        EXPECT_FALSE(Text(id).empty()) << "string " << id;
    for (int id : dialogIds)
        EXPECT_TRUE(HasResource(library, id, MAKEINTRESOURCEA(5))) << "dialog " << id;  // RT_DIALOG
    for (int id : iconIds) {
        EXPECT_TRUE(HasResource(library, id, MAKEINTRESOURCEA(14))) << "icon " << id;  // RT_GROUP_ICON
        HICON icon = static_cast<HICON>(LoadImageA(library, MAKEINTRESOURCEA(id), IMAGE_ICON, 20, 20, 0));
        EXPECT_NE(icon, nullptr) << "icon " << id;
        if (icon != nullptr)
            DestroyIcon(icon);
    }
    HBITMAP picture =
        static_cast<HBITMAP>(LoadImageA(library, MAKEINTRESOURCEA(IDB_ABOUT_PICTURE), IMAGE_BITMAP, 0, 0, 0));
    EXPECT_NE(picture, nullptr);
    if (picture != nullptr)
        DeleteObject(picture);
}

TEST_P(LanguageLibrary, HoldsNoTextOutsideTheProgramsRange)
{
    EXPECT_EQ(Text(IDS_FIRST - 1), "");
    EXPECT_EQ(Text(IDS_LAST + 1), "");
}

TEST_P(LanguageLibrary, EveryTextKeepsThePlaceholdersOfTheEnglishOne)
{
    for (unsigned id : TextIds()) {
        const std::string english = langtest::TextOf(Program(), id);
        const std::string translated = Text(id);
        EXPECT_EQ(langtest::PlaceholdersOf(translated), langtest::PlaceholdersOf(english))
            << "string " << id << ": " << translated;
        // Line breaks and the blank that 136 ends with are part of the
        // layout of boxes and lists.
        EXPECT_EQ(std::count(translated.begin(), translated.end(), '\n'),
                  std::count(english.begin(), english.end(), '\n'))
            << "string " << id;
        EXPECT_EQ(EndsWithBlank(translated), EndsWithBlank(english)) << "string " << id;
    }
}

TEST_P(LanguageLibrary, TextsAreTranslated)
{
    for (unsigned id : {IDS_MAIN_TITLE, IDS_SAVE_DATA, IDS_SAVING, IDS_ERROR_CAPTION, IDS_COLUMN_SAVE_TYPE,
                        IDS_ITEM_ADDITIONAL_FILES, IDS_RESTORE_QUESTION})
        EXPECT_NE(Text(id), langtest::TextOf(Program(), id)) << "string " << id;
    // File and key names stay as they are.
    EXPECT_NE(Text(IDS_ITEM_GROUPS_PERSONNEL).find("(qzgroups.dbf, qzpersonal.dbf "), std::string::npos);
    EXPECT_NE(Text(IDS_SAVE_SUCCESS_BOX).find("\\qzt, \\db1, \\dbv1 "), std::string::npos);
    EXPECT_NE(Text(IDS_ITEM_ALARM_CONFIGURATION).find("(vm001.dbf)"), std::string::npos);
}

TEST_P(LanguageLibrary, FailedSaveLinesBeginWithTheTextTheListSearchesFor)
{
    // After a failed save the message list selects its first line that
    // begins with 112; the failed copies are reported with 107.
    const std::string failed = Text(IDS_FAILED_TO_SAVE);
    EXPECT_EQ(Text(IDS_FILE_SAVE_FAILED).compare(0, failed.size(), failed), 0)
        << Text(IDS_FILE_SAVE_FAILED) << " / " << failed;
}

TEST_P(LanguageLibrary, TextsNameTheButtonsAsTheDialogsShowThem)
{
    qztest::DialogTemplate main, restore;
    ASSERT_TRUE(qztest::ReadDialogTemplate(library, IDD_MAIN, main));
    ASSERT_TRUE(qztest::ReadDialogTemplate(library, IDD_RESTORE, restore));
    // The Save button gets 117 back after each run.
    ASSERT_NE(main.Item(IDC_SAVE_DATA), nullptr);
    EXPECT_EQ(main.Item(IDC_SAVE_DATA)->text, Text(IDS_SAVE_DATA));
    // 150 points the user at the restore dialog's Select button.
    ASSERT_NE(restore.Item(IDC_RST_SELECT_ROOT), nullptr);
    EXPECT_NE(Text(IDS_NO_PREVIOUS_KEEPSET).find(restore.Item(IDC_RST_SELECT_ROOT)->text), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageLibrary, ::testing::ValuesIn(langtest::Languages()), NameOf);

// Characters beyond ASCII, checked in what the resource holds (UTF-16, so
// the .rc files were read as Windows-1252) and in the bytes the program
// gets from LoadStringA on a Windows-1252 system.
struct SpecialText {
    const char* code;
    unsigned id;
    const wchar_t* wide;
    const char* ansi;
};

const SpecialText specialTexts[] = {
    {"dt", IDS_ABOUT_MENU, L"&Info \u00FCber Qzkeepset...", "&Info \xFC" "ber Qzkeepset..."},
    {"dt", IDS_CONFIRM_CAPTION, L"Bitte best\u00E4tigen...", "Bitte best\xE4tigen..."},
    {"dt", IDS_RESTORE_QUESTION,
     L"Daten aus dem fr\u00FCheren Sicherungsverzeichnis %1 wiederherstellen?\nBitte schlie\u00DFen Sie zuerst alle "
     L"Konfigurationsprogramme (Alarmzentrale, Alarmkonfigurator und Personaleditor).\nBitte warten Sie, der Vorgang "
     L"kann eine Weile dauern.",
     "Daten aus dem fr\xFCheren Sicherungsverzeichnis %1 wiederherstellen?\nBitte schlie\xDF" "en Sie zuerst alle "
     "Konfigurationsprogramme (Alarmzentrale, Alarmkonfigurator und Personaleditor).\nBitte warten Sie, der Vorgang "
     "kann eine Weile dauern."},
    {"dt", IDS_NO_PREVIOUS_KEEPSET,
     L"Es wurde keine fr\u00FChere Sicherung gefunden.\nBitte w\u00E4hlen Sie die wiederherzustellende Sicherung "
     L"mit der Schaltfl\u00E4che \u201EAusw\u00E4hlen\u201C aus.",
     "Es wurde keine fr\xFChere Sicherung gefunden.\nBitte w\xE4hlen Sie die wiederherzustellende Sicherung "
     "mit der Schaltfl\xE4" "che \x84" "Ausw\xE4hlen\x93 aus."},
    {"fr", IDS_ABOUT_MENU, L"\u00C0 &propos de Qzkeepset...", "\xC0 &propos de Qzkeepset..."},
    {"fr", IDS_FILE_SAVE_FAILED, L"\u00C9CHEC de la sauvegarde de %1 dans %2 !",
     "\xC9" "CHEC de la sauvegarde de %1 dans %2 !"},
    {"fr", IDS_ITEM_DESKTOP, L"Toutes les ic\u00F4nes du bureau", "Toutes les ic\xF4nes du bureau"},
    {"fr", IDS_NO_PREVIOUS_KEEPSET,
     L"Aucune sauvegarde pr\u00E9c\u00E9dente n'a \u00E9t\u00E9 trouv\u00E9e.\nVeuillez utiliser le bouton "
     L"\u00AB S\u00E9lectionner \u00BB pour choisir la sauvegarde \u00E0 restaurer.",
     "Aucune sauvegarde pr\xE9" "c\xE9" "dente n'a \xE9t\xE9 trouv\xE9" "e.\nVeuillez utiliser le bouton "
     "\xAB S\xE9lectionner \xBB pour choisir la sauvegarde \xE0 restaurer."},
};

TEST(LanguageTexts, UmlautsAndAccentsAreStoredAndReadAsWindows1252)
{
    for (const auto& special : specialTexts) {
        SCOPED_TRACE(std::string(special.code) + " string " + std::to_string(special.id));
        HMODULE library = langtest::LoadLanguageLibrary({special.code, special.code});
        ASSERT_NE(library, nullptr);
        EXPECT_EQ(langtest::WideTextOf(library, special.id), std::wstring(special.wide));
        if (GetACP() == 1252) {
            EXPECT_EQ(langtest::TextOf(library, special.id), special.ansi);
        }
    }
}
