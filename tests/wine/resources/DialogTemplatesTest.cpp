// The five dialog templates: size, caption, every control the program
// addresses by id with its kind and text, and the styles the program's
// code relies on. Read from the resources, so no display is needed.
#include "ExpectedDialogs.h"
#include "support/DialogTemplate.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "resource.h"

#include <string>
#include <vector>

namespace {

qztest::DialogTemplate Read(int id)
{
    qztest::DialogTemplate dialog;
    EXPECT_TRUE(qztest::ReadDialogTemplate(nullptr, id, dialog)) << "dialog " << id;
    return dialog;
}

const qztest::DialogItem& ItemOf(const qztest::DialogTemplate& dialog, int id)
{
    static const qztest::DialogItem missing;
    const qztest::DialogItem* item = dialog.Item(id);
    EXPECT_NE(item, nullptr) << "control " << id;
    return item != nullptr ? *item : missing;
}

bool SameClass(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

unsigned long ButtonType(const qztest::DialogItem& item)
{
    return item.style & BS_TYPEMASK;
}

bool IsRadio(const qztest::DialogItem& item)
{
    return SameClass(item.className, "Button") &&
           (ButtonType(item) == BS_AUTORADIOBUTTON || ButtonType(item) == BS_RADIOBUTTON);
}

// The radio buttons of the group that begins at control `first` (which must
// carry WS_GROUP): the dialog manager's group runs to the next WS_GROUP.
std::vector<int> RadioGroupFrom(const qztest::DialogTemplate& dialog, int first)
{
    std::vector<int> radios;
    bool inGroup = false;
    for (const auto& item : dialog.items) {
        if (inGroup && (item.style & WS_GROUP))
            break;
        if (item.id == first)
            inGroup = (item.style & WS_GROUP) != 0;
        if (inGroup && IsRadio(item))
            radios.push_back(item.id);
    }
    return radios;
}

}  // namespace

TEST(ResourceDialogs, EveryDialogHasItsSizeCaptionAndControls)
{
    for (const auto& expected : ExpectedDialogs()) {
        SCOPED_TRACE("dialog " + std::to_string(expected.id));
        qztest::DialogTemplate dialog = Read(expected.id);
        EXPECT_EQ(dialog.cx, expected.cx);
        EXPECT_EQ(dialog.cy, expected.cy);
        if (expected.caption != nullptr) {
            EXPECT_EQ(dialog.caption, expected.caption);
        }
        EXPECT_TRUE(dialog.style & WS_CAPTION);
        EXPECT_TRUE(dialog.style & WS_SYSMENU);
        EXPECT_EQ(dialog.pointSize, 8);
        EXPECT_FALSE(dialog.fontName.empty());

        for (const auto& control : expected.controls) {
            SCOPED_TRACE("control " + std::to_string(control.id));
            const qztest::DialogItem& item = ItemOf(dialog, control.id);
            EXPECT_TRUE(SameClass(item.className, control.className)) << item.className;
            if (control.text != nullptr) {
                EXPECT_EQ(item.text, control.text);
            }
            EXPECT_TRUE(item.style & WS_CHILD);
        }
        // Every other control is an unnamed label, frame or picture.
        for (const auto& item : dialog.items) {
            bool listed = item.id == -1;
            for (const auto& control : expected.controls)
                listed = listed || control.id == item.id;
            EXPECT_TRUE(listed) << "unexpected control " << item.id;
        }
        // No id twice: the program finds each control by its id.
        for (std::size_t i = 0; i < dialog.items.size(); ++i)
            for (std::size_t j = i + 1; j < dialog.items.size(); ++j)
                if (dialog.items[i].id != -1) {
                    EXPECT_NE(dialog.items[i].id, dialog.items[j].id);
                }
    }
}

TEST(ResourceDialogs, MainWindowButtonsDrawThemselvesAndNoneIsTheDefault)
{
    qztest::DialogTemplate dialog = Read(IDD_MAIN);
    EXPECT_TRUE(dialog.style & WS_MINIMIZEBOX);
    EXPECT_TRUE(dialog.style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(dialog.exStyle & WS_EX_APPWINDOW);

    for (int id : {IDOK, IDC_SETTINGS, IDC_SAVE_DATA, IDC_RECOVERY_DISK, IDC_SHOW_LOGFILE, IDC_RESTORE_DATA})
        EXPECT_EQ(ButtonType(ItemOf(dialog, id)), static_cast<unsigned long>(BS_OWNERDRAW)) << "button " << id;
    EXPECT_EQ(ButtonType(ItemOf(dialog, IDC_BROWSE)), static_cast<unsigned long>(BS_PUSHBUTTON));
    // The program marks Save data as default itself; a default push button
    // in the template would take Enter away from Exit.
    for (const auto& item : dialog.items)
        if (SameClass(item.className, "Button")) {
            EXPECT_NE(ButtonType(item), static_cast<unsigned long>(BS_DEFPUSHBUTTON)) << "button " << item.id;
        }

    EXPECT_TRUE(ItemOf(dialog, IDC_SAVE_DIRECTORY).style & ES_AUTOHSCROLL);
}

TEST(ResourceDialogs, MessageListIsOwnerDrawnWithTextsInArrivalOrder)
{
    const unsigned long style = ItemOf(Read(IDD_MAIN), IDC_MESSAGE_LIST).style;
    EXPECT_TRUE(style & LBS_OWNERDRAWFIXED);
    EXPECT_TRUE(style & LBS_HASSTRINGS);  // the lines are found again by their text
    EXPECT_TRUE(style & LBS_NOTIFY);
    EXPECT_TRUE(style & LBS_NOINTEGRALHEIGHT);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & LBS_SORT);
    EXPECT_FALSE(style & LBS_OWNERDRAWVARIABLE);
}

TEST(ResourceDialogs, RadioGroupsHoldExactlyTheirOwnButtons)
{
    qztest::DialogTemplate settings = Read(IDD_SETTINGS);
    EXPECT_EQ(RadioGroupFrom(settings, IDC_SET_ALL_SUBDIRECTORIES),
              (std::vector<int>{IDC_SET_ALL_SUBDIRECTORIES, IDC_SET_CHECKED_SUBDIRECTORIES}));
    EXPECT_EQ(RadioGroupFrom(settings, IDC_SET_ALL_DATABASES),
              (std::vector<int>{IDC_SET_ALL_DATABASES, IDC_SET_SELECTED_DATABASES}));

    qztest::DialogTemplate restore = Read(IDD_RESTORE);
    EXPECT_EQ(RadioGroupFrom(restore, IDC_RST_SOURCE_KEEPSET_LIST),
              (std::vector<int>{IDC_RST_SOURCE_KEEPSET_LIST, IDC_RST_SOURCE_OTHER_ROOT}));
    EXPECT_EQ(RadioGroupFrom(restore, IDC_RST_FULL_RESTORE),
              (std::vector<int>{IDC_RST_FULL_RESTORE, IDC_RST_CUSTOM_RESTORE}));
    for (const auto* dialog : {&settings, &restore})
        for (const auto& item : dialog->items)
            if (IsRadio(item)) {
                EXPECT_EQ(ButtonType(item), static_cast<unsigned long>(BS_AUTORADIOBUTTON)) << item.id;
            }
}

TEST(ResourceDialogs, ListsAreReportViewsWithOneSelection)
{
    qztest::DialogTemplate settings = Read(IDD_SETTINGS);
    qztest::DialogTemplate restore = Read(IDD_RESTORE);
    const qztest::DialogItem* checkBoxLists[] = {&ItemOf(settings, IDC_SET_SUBDIRECTORY_LIST),
                                                &ItemOf(settings, IDC_SET_DATABASE_LIST),
                                                &ItemOf(restore, IDC_RST_CUSTOM_LIST)};
    for (const auto* list : checkBoxLists) {
        SCOPED_TRACE("list " + std::to_string(list->id));
        EXPECT_EQ(list->style & LVS_TYPEMASK, static_cast<unsigned long>(LVS_REPORT));
        EXPECT_TRUE(list->style & LVS_SINGLESEL);
        EXPECT_TRUE(list->style & LVS_NOCOLUMNHEADER);
        EXPECT_TRUE(list->style & WS_TABSTOP);
    }
    const unsigned long keepsets = ItemOf(restore, IDC_RST_KEEPSET_LIST).style;
    EXPECT_EQ(keepsets & LVS_TYPEMASK, static_cast<unsigned long>(LVS_REPORT));
    EXPECT_TRUE(keepsets & LVS_SINGLESEL);
    EXPECT_TRUE(keepsets & LVS_SHOWSELALWAYS);
    EXPECT_TRUE(keepsets & LVS_NOSORTHEADER);
    EXPECT_FALSE(keepsets & LVS_NOCOLUMNHEADER);  // Date, Time, Save-directory, Save-type
}

TEST(ResourceDialogs, SummaryAndSelectedPathAreReadOnly)
{
    EXPECT_TRUE(ItemOf(Read(IDD_RESTORE), IDC_RST_SUMMARY).style & ES_READONLY);
    qztest::DialogTemplate browser = Read(IDD_FOLDER_BROWSER);
    EXPECT_TRUE(ItemOf(browser, IDC_BRW_SELECTED_PATH).style & ES_READONLY);
    EXPECT_TRUE(ItemOf(browser, IDC_BRW_PATH_LABEL).style & WS_VISIBLE);
    EXPECT_FALSE(ItemOf(browser, IDC_BRW_FILE_LABEL).style & WS_VISIBLE);
    // The password is shown in clear.
    EXPECT_FALSE(ItemOf(Read(IDD_SETTINGS), IDC_SET_PASSWORD).style & ES_PASSWORD);
}

TEST(ResourceDialogs, FolderTreeShowsDrivesWithButtonsAndLines)
{
    const unsigned long style = ItemOf(Read(IDD_FOLDER_BROWSER), IDC_BRW_TREE).style;
    for (unsigned long bit : {TVS_HASBUTTONS, TVS_HASLINES, TVS_LINESATROOT, TVS_DISABLEDRAGDROP, TVS_SHOWSELALWAYS,
                              TVS_FULLROWSELECT, TVS_INFOTIP})
        EXPECT_EQ(style & bit, bit) << std::hex << bit;
    EXPECT_FALSE(style & TVS_EDITLABELS);
}

TEST(ResourceDialogs, AboutBoxShowsProgramIconVersionAndPicture)
{
    qztest::DialogTemplate about = Read(IDD_ABOUT);
    bool icon = false, picture = false, version = false;
    for (const auto& item : about.items) {
        if (SameClass(item.className, "Static") && (item.style & SS_TYPEMASK) == SS_ICON)
            icon = icon || item.text == "#" + std::to_string(IDI_PROGRAM);
        if (SameClass(item.className, "Static") && (item.style & SS_TYPEMASK) == SS_BITMAP)
            picture = picture || item.text == "#" + std::to_string(IDB_ABOUT_PICTURE);
        version = version || item.text == "Qzkeepset, Version 4.5";
    }
    EXPECT_TRUE(icon);
    EXPECT_TRUE(picture);
    EXPECT_TRUE(version);
}
