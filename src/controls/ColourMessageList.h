#pragma once
// The list box in which a save run reports every step, one line per
// report, each line in its own text colour. The list box is owner-drawn
// with fixed-height lines and keeps the texts; each line's colour is its
// item data (see ColourListDrawing.h).
//
// The dialog that holds it passes on WM_MEASUREITEM and WM_DRAWITEM for
// the list (by control id) to MeasureItem and DrawItem.
#include <windows.h>

#include <string>

class ColourMessageList {
public:
    ColourMessageList() = default;
    ~ColourMessageList();
    ColourMessageList(const ColourMessageList&) = delete;
    ColourMessageList& operator=(const ColourMessageList&) = delete;

    // Takes over an existing list box and makes every line as high as the
    // menu check mark: the list box asks for the height when it is made,
    // possibly before anyone could answer for it.
    void Attach(HWND listBox);
    HWND Window() const { return window_; }

    // Appends a line; the colour becomes its item data only when the list
    // box took the line. The new index, or the list box's negative error
    // value (LB_ERR, LB_ERRSPACE).
    int AddLine(const std::string& text, unsigned long colour);
    // The same, but the line is not drawn yet: a list box on screen redraws
    // itself and its scroll bar for every line added, which costs many
    // times what adding the line does. The list stays held (redrawing off)
    // until ShowHeldLines, which its owner calls at a steady pace; anything
    // else that reaches the list box (painting, selecting, scrolling,
    // emptying, the user's keys and clicks) shows the held lines first, so
    // nobody ever sees or acts on a list that lags behind its lines.
    int AddLineHeld(const std::string& text, unsigned long colour);
    // Turns redrawing back on and draws what the held lines changed; false
    // when no line was held.
    bool ShowHeldLines();
    bool HoldsLines() const { return held_; }
    void RemoveAllLines();
    // Selects the first line that begins with `text`, searching from the
    // top; its index, or LB_ERR.
    int SelectLineStartingWith(const std::string& text);
    int LineCount() const;
    std::string LineText(int index) const;
    unsigned long LineColour(int index) const;

    // The height of a line: the height of a menu check mark.
    static void MeasureItem(MEASUREITEMSTRUCT& measure);
    void DrawItem(const DRAWITEMSTRUCT& draw);

private:
    static LRESULT CALLBACK ListProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();

    HWND window_ = nullptr;
    // The list box's own procedure while ListProcedure stands before it.
    WNDPROC listProcedure_ = nullptr;
    bool held_ = false;
    // The line count when the list was held: the held lines follow it.
    int shownCount_ = 0;
};
