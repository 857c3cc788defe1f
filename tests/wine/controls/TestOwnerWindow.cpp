#include "TestOwnerWindow.h"

namespace {

const char kClassName[] = "QzTestOwnerWindow";

void RegisterOwnerClass(WNDPROC procedure)
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    registered = RegisterClassA(&windowClass) != 0;
}

}  // namespace

TestOwnerWindow::TestOwnerWindow()
{
    RegisterOwnerClass(Procedure);
    window_ = CreateWindowExA(0, kClassName, "owner", WS_OVERLAPPEDWINDOW, 20, 20, 400, 300, nullptr, nullptr,
                              GetModuleHandleA(nullptr), this);
}

TestOwnerWindow::~TestOwnerWindow()
{
    if (window_ != nullptr)
        DestroyWindow(window_);
}

HWND TestOwnerWindow::AddChild(const char* className, DWORD style, int id, const char* text, int width, int height)
{
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height, window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

LRESULT CALLBACK TestOwnerWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* owner = reinterpret_cast<TestOwnerWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (owner != nullptr) {
        if (message >= WM_USER && message < 0x8000)
            owner->userMessages.emplace_back(message, wParam);
        if (message == WM_MEASUREITEM && owner->onMeasureItem) {
            owner->onMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        }
        if (message == WM_DRAWITEM && owner->onDrawItem) {
            owner->onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        if (message == WM_NCDESTROY)
            owner->window_ = nullptr;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

PixelCanvas::PixelCanvas(int width, int height, COLORREF fill) : width(width), height(height)
{
    const HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    previous_ = SelectObject(dc_, bitmap_);
    const HBRUSH brush = CreateSolidBrush(fill);
    RECT all = {0, 0, width, height};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
}

PixelCanvas::~PixelCanvas()
{
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

bool PixelCanvas::Contains(COLORREF colour, int fromX, int toX) const
{
    for (int y = 0; y < height; ++y) {
        for (int x = fromX; x < toX; ++x) {
            if (At(x, y) == colour)
                return true;
        }
    }
    return false;
}

std::vector<COLORREF> PixelCanvas::Pixels() const
{
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pixels.push_back(At(x, y));
    }
    return pixels;
}
