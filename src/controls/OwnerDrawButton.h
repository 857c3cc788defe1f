#pragma once
// A push button with the owner-draw style that draws itself with a small
// icon left of its caption, a pressed look, an embossed look when
// disabled, a focus rectangle and a black border when it is the default
// button (see ButtonDrawing.h).
//
// The dialog that holds it passes on WM_DRAWITEM for the button (by
// control id) to DrawItem.
#include <windows.h>

class OwnerDrawButton {
public:
    OwnerDrawButton() = default;
    ~OwnerDrawButton();
    OwnerDrawButton(const OwnerDrawButton&) = delete;
    OwnerDrawButton& operator=(const OwnerDrawButton&) = delete;

    void Attach(HWND button) { window_ = button; }
    HWND Window() const { return window_; }

    // Loads icon resource `iconId` at exactly width x height pixels from
    // the resource module. When it cannot be loaded the button has no icon
    // any more and the result is false.
    bool SetIcon(unsigned iconId, int width, int height);
    bool HasIcon() const { return icon_ != nullptr; }

    // Marks the button as the default one (black border) or not, and asks
    // its owner, or its parent when it has none, to make its id the
    // default push button (DM_SETDEFID, the number of WM_USER+1). Returns
    // the previous mark.
    bool SetDefault(bool isDefault);
    bool IsDefault() const { return isDefault_; }

    void DrawItem(const DRAWITEMSTRUCT& draw);

private:
    void ReleaseIcon();
    void Repaint();

    HWND window_ = nullptr;
    HICON icon_ = nullptr;
    int iconWidth_ = 0;
    int iconHeight_ = 0;
    int iconLeftMargin_ = 4;
    int iconCaptionGap_ = 8;
    bool isDefault_ = false;
    UINT lastState_ = 0;
    UINT lastAction_ = 0;
};
