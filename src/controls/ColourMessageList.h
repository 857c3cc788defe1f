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
    // Takes over an existing list box and makes every line as high as the
    // menu check mark: the list box asks for the height when it is made,
    // possibly before anyone could answer for it.
    void Attach(HWND listBox);
    HWND Window() const { return window_; }

    // Appends a line; the colour becomes its item data only when the list
    // box took the line. The new index, or the list box's negative error
    // value (LB_ERR, LB_ERRSPACE).
    int AddLine(const std::string& text, unsigned long colour);
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
    HWND window_ = nullptr;
};
