// The colour message list on a real owner-drawn list box.
#include "TestOwnerWindow.h"
#include "controls/ColourListDrawing.h"
#include "controls/ColourMessageList.h"

#include <gtest/gtest.h>

namespace {

constexpr DWORD kListStyle = LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
                             WS_BORDER | WS_TABSTOP;
constexpr int kListId = 1004;
constexpr COLORREF kMarker = RGB(1, 2, 3);

DRAWITEMSTRUCT DrawRequest(HWND list, HDC dc, UINT itemId, UINT action, UINT state, ULONG_PTR colour)
{
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_LISTBOX;
    draw.CtlID = kListId;
    draw.itemID = itemId;
    draw.itemAction = action;
    draw.itemState = state;
    draw.hwndItem = list;
    draw.hDC = dc;
    draw.rcItem = RECT{0, 0, 200, 16};
    draw.itemData = colour;
    return draw;
}

}  // namespace

TEST(ColourMessageList, LinesKeepTheirOrderAndTheirColourAsItemData)
{
    TestOwnerWindow owner;
    ColourMessageList list;
    list.Attach(owner.AddChild("ListBox", kListStyle, kListId, "", 300, 200));

    EXPECT_EQ(list.AddLine("C:\\db1\\alarm.dbf saved", kSuccessLineColour), 0);
    EXPECT_EQ(list.AddLine("FAILED to save C:\\db1\\b.dbf", kFailureLineColour), 1);
    EXPECT_EQ(list.AddLine("A line without colour", 0), 2);
    EXPECT_EQ(list.AddLine("FAILED to save C:\\db1\\c.dbf", kFailureLineColour), 3);
    EXPECT_EQ(list.LineCount(), 4);
    EXPECT_EQ(list.LineText(2), "A line without colour");
    EXPECT_EQ(SendMessageA(list.Window(), LB_GETITEMDATA, 0, 0), static_cast<LRESULT>(RGB(0, 100, 0)));
    EXPECT_EQ(list.LineColour(1), static_cast<unsigned long>(RGB(255, 0, 0)));
    EXPECT_EQ(list.LineColour(2), 0ul);

    // The first failure is shown highlighted.
    EXPECT_EQ(list.SelectLineStartingWith("FAILED to save"), 1);
    EXPECT_EQ(SendMessageA(list.Window(), LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(list.SelectLineStartingWith("nothing like it"), LB_ERR);

    list.RemoveAllLines();
    EXPECT_EQ(list.LineCount(), 0);
    EXPECT_EQ(list.LineText(0), "");
}

TEST(ColourMessageList, LinesAreAsHighAsTheMenuCheckMark)
{
    const LRESULT checkMark = GetSystemMetrics(SM_CYMENUCHECK);
    {
        // The owner answers the list box's question when it is made.
        TestOwnerWindow owner;
        int asked = 0;
        owner.onMeasureItem = [&](MEASUREITEMSTRUCT& measure) {
            ++asked;
            ColourMessageList::MeasureItem(measure);
        };
        const HWND listBox = owner.AddChild("ListBox", kListStyle, kListId, "", 300, 200);
        EXPECT_GE(asked, 1);
        EXPECT_EQ(SendMessageA(listBox, LB_GETITEMHEIGHT, 0, 0), checkMark);
    }
    {
        // Nobody answered: attaching sets it.
        TestOwnerWindow owner;
        ColourMessageList list;
        list.Attach(owner.AddChild("ListBox", kListStyle, kListId, "", 300, 200));
        EXPECT_EQ(SendMessageA(list.Window(), LB_GETITEMHEIGHT, 0, 0), checkMark);
    }
}

TEST(ColourMessageList, SelectedLineIsDrawnInTheInverseColourOnItsOwn)
{
    TestOwnerWindow owner;
    ColourMessageList list;
    list.Attach(owner.AddChild("ListBox", kListStyle, kListId, "", 300, 200));
    list.AddLine("FAILED to save WWWW", kFailureLineColour);

    PixelCanvas canvas(200, 16, RGB(255, 255, 255));
    list.DrawItem(DrawRequest(list.Window(), canvas.Dc(), 0, ODA_DRAWENTIRE, ODS_SELECTED, kFailureLineColour));
    EXPECT_EQ(canvas.At(199, 15), RGB(255, 0, 0));
    EXPECT_TRUE(canvas.Contains(RGB(0, 255, 255), 0, 150));

    // Losing the selection: the window background, the text in its colour.
    PixelCanvas deselected(200, 16, kMarker);
    list.DrawItem(DrawRequest(list.Window(), deselected.Dc(), 0, ODA_SELECT, 0, kFailureLineColour));
    EXPECT_EQ(deselected.At(199, 15), GetSysColor(COLOR_WINDOW));
    EXPECT_TRUE(deselected.Contains(RGB(255, 0, 0), 0, 150));
    EXPECT_FALSE(deselected.Contains(kMarker, 0, 200));
}

TEST(ColourMessageList, NoLineToDrawLeavesTheCanvasAlone)
{
    TestOwnerWindow owner;
    ColourMessageList list;
    list.Attach(owner.AddChild("ListBox", kListStyle, kListId, "", 300, 200));
    PixelCanvas canvas(200, 16, kMarker);
    const std::vector<COLORREF> before = canvas.Pixels();
    list.DrawItem(DrawRequest(list.Window(), canvas.Dc(), static_cast<UINT>(-1), ODA_FOCUS, ODS_FOCUS, 0));
    list.DrawItem(DrawRequest(list.Window(), canvas.Dc(), 5, ODA_DRAWENTIRE, ODS_SELECTED, kFailureLineColour));
    EXPECT_EQ(canvas.Pixels(), before);
}

TEST(ColourMessageList, RealListPaintsThroughItsOwnerEmptyOrFull)
{
    TestOwnerWindow owner;
    ColourMessageList list;
    int drawn = 0;
    owner.onMeasureItem = ColourMessageList::MeasureItem;
    owner.onDrawItem = [&](const DRAWITEMSTRUCT& draw) {
        ++drawn;
        list.DrawItem(draw);
    };
    list.Attach(owner.AddChild("ListBox", kListStyle, kListId, "", 300, 200));
    ShowWindow(owner.Window(), SW_SHOW);
    UpdateWindow(owner.Window());

    // Clicking into the empty list gives it the focus: a request for no line.
    SetFocus(list.Window());
    SendMessageA(list.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
    SendMessageA(list.Window(), WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
    UpdateWindow(list.Window());

    for (int n = 0; n < 30; ++n)
        list.AddLine("line " + std::to_string(n), n % 2 == 0 ? kSuccessLineColour : kFailureLineColour);
    drawn = 0;
    InvalidateRect(list.Window(), nullptr, TRUE);
    UpdateWindow(list.Window());
    EXPECT_GT(drawn, 5);
    SendMessageA(list.Window(), LB_SETCURSEL, 3, 0);
    list.RemoveAllLines();
    UpdateWindow(list.Window());
    EXPECT_EQ(list.LineCount(), 0);
}
