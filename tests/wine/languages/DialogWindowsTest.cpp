// Each dialog of each language library created as a window (needs a
// display; skipped without one), as the program creates it with the library
// as its resource module: every text fits its control at the dialog font's
// real size, so nothing is cut off. With QZ_SCREENSHOT_DIR set, a
// screenshot of each dialog is saved there as <language>-dialog-<id>.png.
// The program's own English dialogs are measured the same way, which keeps
// the margins below honest.
#include "LanguageLibraries.h"
#include "support/MessagePump.h"
#include "support/TestSkips.h"
#include "support/WineHost.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "resource.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using langtest::Language;

const int dialogIds[] = {IDD_ABOUT, IDD_MAIN, IDD_SETTINGS, IDD_RESTORE, IDD_FOLDER_BROWSER};

// Pixels a control spends beside its text: the check box or radio circle
// and the gap after it, a push button's frame, a group box's frame on both
// sides of its caption.
const int checkBoxMargin = 13 + 4;
const int pushButtonMargin = 8;
const int groupBoxMargin = 16;
// The main window's owner-drawn buttons: icon left margin, icon, gap
// before the caption, and the frame on the right.
const int ownerDrawIconMargin = 4;
const int ownerDrawCaptionGap = 8;
const int ownerDrawFrame = 2;
// A list-view column heading's padding on both sides; a check-box list
// row's check box and padding.
const int headingMargin = 12;
const int checkBoxRowMargin = 16 + 12;

std::string WindowText(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

int ClientWidth(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return client.right;
}

// The width of one line of `text` in the control's font.
int TextWidth(HWND control, const std::string& text, UINT format)
{
    HDC dc = GetDC(control);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
    RECT size{0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), -1, &size, format | DT_CALCRECT | DT_SINGLELINE);
    if (previous != nullptr)
        SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return size.right - size.left;
}

int OwnerDrawIconWidth(int id)
{
    return id == IDC_RECOVERY_DISK ? 18 : 20;
}

int OwnerDrawIconId(int id)
{
    switch (id) {
    case IDOK:
        return IDI_EXIT;
    case IDC_SETTINGS:
        return IDI_SETTINGS;
    case IDC_SAVE_DATA:
        return IDI_SAVE;
    case IDC_RECOVERY_DISK:
        return IDI_RECOVERY_DISK;
    case IDC_SHOW_LOGFILE:
        return IDI_SHOW_LOG;
    default:
        return IDI_RESTORE;
    }
}

// Draws a main-window command button much as the program does (frame, icon
// at the left, caption in the space right of it), so that screenshots show
// the captions.
void DrawCommandButton(HMODULE library, const DRAWITEMSTRUCT& item)
{
    RECT frame = item.rcItem;
    DrawFrameControl(item.hDC, &frame, DFC_BUTTON, DFCS_BUTTONPUSH);
    const int side = OwnerDrawIconWidth(static_cast<int>(item.CtlID));
    HICON icon = static_cast<HICON>(
        LoadImageA(library, MAKEINTRESOURCEA(OwnerDrawIconId(static_cast<int>(item.CtlID))), IMAGE_ICON, side, side, 0));
    if (icon != nullptr) {
        DrawIconEx(item.hDC, ownerDrawIconMargin, (item.rcItem.bottom - side) / 2, icon, side, side, 0, nullptr,
                   DI_NORMAL);
        DestroyIcon(icon);
    }
    const std::string caption = WindowText(item.hwndItem);
    RECT text{ownerDrawIconMargin + side + ownerDrawCaptionGap, 0, item.rcItem.right, item.rcItem.bottom};
    SetBkMode(item.hDC, TRANSPARENT);
    DrawTextA(item.hDC, caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// The dialog's only behaviour: drawing the command buttons with icons from
// the module the dialog came from (passed as the creation parameter).
INT_PTR CALLBACK DrawingDialogProcedure(HWND dialog, UINT message, WPARAM, LPARAM parameter)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, GWLP_USERDATA, parameter);
        return TRUE;
    }
    if (message == WM_DRAWITEM) {
        const auto library = reinterpret_cast<HMODULE>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
        DrawCommandButton(library, *reinterpret_cast<const DRAWITEMSTRUCT*>(parameter));
        return TRUE;
    }
    return FALSE;
}

// Room for a text on one line of the control; -1 for controls whose text
// is not a caption (edits, lists, pictures).
int RoomForText(HWND control)
{
    const std::string className = ClassOf(control);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    const int width = ClientWidth(control);
    if (lstrcmpiA(className.c_str(), "Static") == 0) {
        const LONG type = style & SS_TYPEMASK;
        return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_LEFTNOWORDWRAP ? width : -1;
    }
    if (lstrcmpiA(className.c_str(), "Button") != 0)
        return -1;
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return width - checkBoxMargin;
    case BS_GROUPBOX:
        return width - groupBoxMargin;
    case BS_OWNERDRAW:
        return width - ownerDrawIconMargin - OwnerDrawIconWidth(GetDlgCtrlID(control)) - ownerDrawCaptionGap -
               ownerDrawFrame;
    default:
        return width - pushButtonMargin;
    }
}

UINT PrefixFormat(HWND control)
{
    const bool noPrefix = lstrcmpiA(ClassOf(control).c_str(), "Static") == 0 &&
                          (GetWindowLongA(control, GWL_STYLE) & SS_NOPREFIX) != 0;
    return noPrefix ? DT_NOPREFIX : 0;
}

void ExpectFits(HWND control, const std::string& text)
{
    const int room = RoomForText(control);
    if (room < 0 || text.empty())
        return;
    const int width = TextWidth(control, text, PrefixFormat(control));
    EXPECT_LE(width, room) << "control " << GetDlgCtrlID(control) << " \"" << text << "\" needs " << width
                           << " pixels, has " << room;
}

BOOL CALLBACK CheckOneControl(HWND control, LPARAM)
{
    if (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE)
        ExpectFits(control, WindowText(control));
    return TRUE;
}

class LanguageDialogWindows : public ::testing::TestWithParam<Language> {
protected:
    void SetUp() override
    {
        QZ_REQUIRE_DISPLAY();
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&classes);
        library = IsBuiltIn(GetParam()) ? GetModuleHandleA(nullptr) : langtest::LoadLanguageLibrary(GetParam());
        ASSERT_NE(library, nullptr);
    }

    static bool IsBuiltIn(const Language& language) { return std::string(language.code) == "en"; }

    HWND Open(int id)
    {
        HWND dialog =
            CreateDialogParamA(library, MAKEINTRESOURCEA(id), nullptr, DrawingDialogProcedure,
                               reinterpret_cast<LPARAM>(library));
        if (dialog != nullptr) {
            ShowWindow(dialog, SW_SHOW);
            UpdateWindow(dialog);
        }
        return dialog;
    }

    std::string Text(unsigned id) const { return langtest::TextOf(library, id); }

    void Screenshot(HWND dialog, int id) const
    {
        const char* folder = std::getenv("QZ_SCREENSHOT_DIR");
        if (folder == nullptr || *folder == '\0')
            return;
        EXPECT_TRUE(qztest::PumpUntilPainted(dialog));
        RECT frame{};
        GetWindowRect(dialog, &frame);
        const std::string crop = std::to_string(frame.right - frame.left) + "x" +
                                 std::to_string(frame.bottom - frame.top) + "+" + std::to_string(frame.left) + "+" +
                                 std::to_string(frame.top);
        qztest::RunUnix({"import", "-window", "root", "-crop", crop,
                         std::string(folder) + "/" + GetParam().code + "-dialog-" + std::to_string(id) + ".png"});
    }

    HMODULE library = nullptr;
};

std::string NameOf(const ::testing::TestParamInfo<Language>& info)
{
    return info.param.name;
}

}  // namespace

TEST_P(LanguageDialogWindows, EveryDialogOpensAndEveryTextFitsItsControl)
{
    for (int id : dialogIds) {
        SCOPED_TRACE("dialog " + std::to_string(id));
        HWND dialog = Open(id);
        ASSERT_NE(dialog, nullptr) << GetLastError();
        EnumChildWindows(dialog, CheckOneControl, 0);
        Screenshot(dialog, id);
        DestroyWindow(dialog);
    }
}

TEST_P(LanguageDialogWindows, TextsShownInTheDialogsAtRunTimeFit)
{
    HWND main = Open(IDD_MAIN);
    ASSERT_NE(main, nullptr);
    // The Save button reads "Saving" during a run and "Save data" after it.
    ExpectFits(GetDlgItem(main, IDC_SAVE_DATA), Text(IDS_SAVING));
    ExpectFits(GetDlgItem(main, IDC_SAVE_DATA), Text(IDS_SAVE_DATA));
    DestroyWindow(main);

    // The folder browser's prompt comes from its two callers.
    HWND browser = Open(IDD_FOLDER_BROWSER);
    ASSERT_NE(browser, nullptr);
    ExpectFits(GetDlgItem(browser, IDC_BRW_PROMPT), Text(IDS_SAVE_BROWSER_PROMPT));
    ExpectFits(GetDlgItem(browser, IDC_BRW_PROMPT), Text(IDS_SELECT_BROWSER_PROMPT));
    DestroyWindow(browser);

    // The keepset list's column headings, at the column widths the restore
    // dialog gives them.
    HWND restore = Open(IDD_RESTORE);
    ASSERT_NE(restore, nullptr);
    HWND keepsets = GetDlgItem(restore, IDC_RST_KEEPSET_LIST);
    const struct {
        unsigned text;
        int width;
    } columns[] = {{IDS_COLUMN_DATE, 65}, {IDS_COLUMN_TIME, 55}, {IDS_COLUMN_SAVE_DIRECTORY, 210},
                   {IDS_COLUMN_SAVE_TYPE, 368}};
    for (const auto& column : columns) {
        const int width = TextWidth(keepsets, Text(column.text), 0);
        EXPECT_LE(width + headingMargin, column.width) << "heading \"" << Text(column.text) << "\"";
    }
    // The rows a keepset offers for a custom restore, in the check-box
    // list's one column of 500 pixels (138 ends in a path and is left out).
    HWND custom = GetDlgItem(restore, IDC_RST_CUSTOM_LIST);
    for (unsigned id : {IDS_ITEM_ALARM_CONFIGURATION, IDS_ITEM_GROUPS_PERSONNEL, IDS_ITEM_QZT_DIRECTORY,
                        IDS_ITEM_INI_FILES, IDS_ITEM_DESKTOP, IDS_ITEM_VOICE_MESSAGES, IDS_ITEM_WEB_PROGRAMS,
                        IDS_ITEM_MYSQL_DATABASES}) {
        const int width = TextWidth(custom, Text(id), DT_NOPREFIX);
        EXPECT_LE(width + checkBoxRowMargin, 500) << "row \"" << Text(id) << "\"";
    }
    DestroyWindow(restore);
}

std::vector<Language> LanguagesAndBuiltInEnglish()
{
    std::vector<Language> languages = {{"en", "English"}};
    languages.insert(languages.end(), langtest::Languages().begin(), langtest::Languages().end());
    return languages;
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageDialogWindows, ::testing::ValuesIn(LanguagesAndBuiltInEnglish()), NameOf);
