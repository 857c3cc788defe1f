#pragma once
// A plain top-level window that owns the controls under test: it records
// the user messages it receives and hands the drawing requests of its
// children to the test, like the dialogs that hold these controls do.
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

class TestOwnerWindow {
public:
    TestOwnerWindow();
    ~TestOwnerWindow();
    TestOwnerWindow(const TestOwnerWindow&) = delete;
    TestOwnerWindow& operator=(const TestOwnerWindow&) = delete;

    HWND Window() const { return window_; }
    HWND AddChild(const char* className, DWORD style, int id, const char* text, int width, int height);

    std::function<void(MEASUREITEMSTRUCT&)> onMeasureItem;
    std::function<void(const DRAWITEMSTRUCT&)> onDrawItem;
    // Messages from WM_USER on: message and wParam.
    std::vector<std::pair<UINT, WPARAM>> userMessages;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
};

// A memory device context with a bitmap of the screen's colours, filled
// with one colour, for drawing requests whose pixels a test reads back.
class PixelCanvas {
public:
    PixelCanvas(int width, int height, COLORREF fill);
    ~PixelCanvas();
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    HDC Dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    // Whether any pixel in columns fromX to toX - 1 has the colour.
    bool Contains(COLORREF colour, int fromX, int toX) const;
    std::vector<COLORREF> Pixels() const;
    int width;
    int height;

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};
