#include "controls/ColourMessageList.h"

#include "controls/ColourListDrawing.h"

#include <vector>

static_assert(kDrawEntire == ODA_DRAWENTIRE && kDrawSelect == ODA_SELECT && kDrawFocus == ODA_FOCUS,
              "drawing actions");
static_assert(kStateSelected == ODS_SELECTED && kStateDisabled == ODS_DISABLED && kStateFocus == ODS_FOCUS,
              "item states");
static_assert(static_cast<int>(SystemColour::Window) == COLOR_WINDOW &&
                  static_cast<int>(SystemColour::WindowText) == COLOR_WINDOWTEXT &&
                  static_cast<int>(SystemColour::HighlightText) == COLOR_HIGHLIGHTTEXT &&
                  static_cast<int>(SystemColour::GrayText) == COLOR_GRAYTEXT,
              "system colours");

namespace {

COLORREF ColourValue(const PaintColour& colour)
{
    if (colour.system == SystemColour::None)
        return static_cast<COLORREF>(colour.rgb);
    return GetSysColor(static_cast<int>(colour.system));
}

// Messages a held list takes as they come: the lines being added, and
// questions and mouse movements that neither draw nor act on the lines.
bool PassesAHeldList(UINT message)
{
    switch (message) {
    case LB_ADDSTRING:
    case LB_SETITEMDATA:
    case LB_GETCOUNT:
    case LB_GETTEXT:
    case LB_GETTEXTLEN:
    case LB_GETITEMDATA:
    case LB_GETTOPINDEX:
    case LB_GETCURSEL:
    case LB_GETCARETINDEX:
    case LB_GETITEMHEIGHT:
    case LB_GETITEMRECT:
    case WM_SETREDRAW:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_GETDLGCODE:
        return true;
    default:
        return false;
    }
}

}  // namespace

ColourMessageList::~ColourMessageList()
{
    Detach();
}

// The list box's messages pass ListProcedure first, which finds this
// object in the window's user data: a window property would cost a trip to
// the window server for every message.
void ColourMessageList::Attach(HWND listBox)
{
    Detach();
    window_ = listBox;
    SendMessageA(window_, LB_SETITEMHEIGHT, 0, GetSystemMetrics(SM_CYMENUCHECK));
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    listProcedure_ =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProcedure)));
}

void ColourMessageList::Detach()
{
    if (window_ == nullptr || listProcedure_ == nullptr)
        return;
    ShowHeldLines();
    if (IsWindow(window_)) {
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProcedure_));
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    }
    listProcedure_ = nullptr;
}

LRESULT CALLBACK ColourMessageList::ListProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* list = reinterpret_cast<ColourMessageList*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (list == nullptr || list->listProcedure_ == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    const WNDPROC listProcedure = list->listProcedure_;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProcedure));
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        list->listProcedure_ = nullptr;
        list->held_ = false;
    } else if (list->held_ && !PassesAHeldList(message)) {
        list->ShowHeldLines();
    }
    return CallWindowProcA(listProcedure, window, message, wParam, lParam);
}

int ColourMessageList::AddLineHeld(const std::string& text, unsigned long colour)
{
    // Without the watch on the list box nothing would show the lines in
    // time: then every line is drawn as it comes.
    if (!held_ && listProcedure_ != nullptr) {
        shownCount_ = LineCount();
        SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
        held_ = true;
    }
    return AddLine(text, colour);
}

bool ColourMessageList::ShowHeldLines()
{
    if (!held_)
        return false;
    held_ = false;
    SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
    // The held lines are drawn from the first of them to the bottom, when
    // they are in view at all; the scroll bar the list box sets itself.
    RECT client;
    RECT first;
    if (GetClientRect(window_, &client) &&
        SendMessageA(window_, LB_GETITEMRECT, static_cast<WPARAM>(shownCount_), reinterpret_cast<LPARAM>(&first)) !=
            LB_ERR &&
        first.top < client.bottom) {
        RECT changed = client;
        changed.top = first.top > client.top ? first.top : client.top;
        InvalidateRect(window_, &changed, TRUE);
    }
    return true;
}

int ColourMessageList::AddLine(const std::string& text, unsigned long colour)
{
    const auto index = static_cast<int>(SendMessageA(window_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    if (index >= 0)
        SendMessageA(window_, LB_SETITEMDATA, index, static_cast<LPARAM>(colour));
    return index;
}

void ColourMessageList::RemoveAllLines()
{
    SendMessageA(window_, LB_RESETCONTENT, 0, 0);
}

int ColourMessageList::SelectLineStartingWith(const std::string& text)
{
    return static_cast<int>(SendMessageA(window_, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text.c_str())));
}

int ColourMessageList::LineCount() const
{
    return static_cast<int>(SendMessageA(window_, LB_GETCOUNT, 0, 0));
}

std::string ColourMessageList::LineText(int index) const
{
    const auto length = SendMessageA(window_, LB_GETTEXTLEN, index, 0);
    if (length < 0)
        return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    const auto copied = SendMessageA(window_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

unsigned long ColourMessageList::LineColour(int index) const
{
    const auto data = SendMessageA(window_, LB_GETITEMDATA, index, 0);
    return data == LB_ERR ? 0 : static_cast<unsigned long>(data);
}

void ColourMessageList::MeasureItem(MEASUREITEMSTRUCT& measure)
{
    measure.itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENUCHECK));
}

void ColourMessageList::DrawItem(const DRAWITEMSTRUCT& draw)
{
    const int index = static_cast<int>(draw.itemID);
    const ListLinePaint paint = PlanListLine(index, draw.itemAction, draw.itemState, static_cast<unsigned long>(draw.itemData));
    // A line index past the end (the list emptied meanwhile) has nothing
    // to draw either.
    if (paint.drawNothing || index >= LineCount())
        return;
    const HDC dc = draw.hDC;
    RECT line = draw.rcItem;

    if (paint.fillBackground) {
        const HBRUSH brush = CreateSolidBrush(ColourValue(paint.background));
        FillRect(dc, &line, brush);
        DeleteObject(brush);
    }
    if (paint.invertFocusRectangle)
        DrawFocusRect(dc, &line);

    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, ColourValue(paint.text));

    // Measured first: the text then sits at the line's top left corner,
    // neither clipped to the line's width nor shortened.
    const std::string text = LineText(index);
    UINT format = DT_SINGLELINE | DT_VCENTER;
    if ((GetWindowLongA(window_, GWL_STYLE) & LBS_USETABSTOPS) != 0)
        format |= DT_EXPANDTABS;
    RECT textArea = line;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textArea, format | DT_CALCRECT);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textArea, format);

    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}
