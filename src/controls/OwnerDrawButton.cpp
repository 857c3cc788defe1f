#include "controls/OwnerDrawButton.h"

#include "controls/ButtonDrawing.h"
#include "win/Images.h"

#include <string>
#include <vector>

namespace {

std::string WindowText(HWND window)
{
    std::vector<char> buffer(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    const int length = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace

OwnerDrawButton::~OwnerDrawButton()
{
    ReleaseIcon();
}

void OwnerDrawButton::ReleaseIcon()
{
    if (icon_ != nullptr)
        DestroyIcon(icon_);
    icon_ = nullptr;
}

void OwnerDrawButton::Repaint()
{
    if (window_ != nullptr && IsWindow(window_))
        InvalidateRect(window_, nullptr, TRUE);
}

bool OwnerDrawButton::SetIcon(unsigned iconId, int width, int height)
{
    ReleaseIcon();
    icon_ = win::LoadIconResource(iconId, width, height);
    if (icon_ == nullptr)
        return false;
    iconWidth_ = width;
    iconHeight_ = height;
    Repaint();
    return true;
}

bool OwnerDrawButton::SetDefault(bool isDefault)
{
    HWND target = GetWindow(window_, GW_OWNER);
    if (target == nullptr)
        target = GetParent(window_);
    SendMessageA(target, DM_SETDEFID, static_cast<WPARAM>(GetDlgCtrlID(window_)), 0);
    const bool previous = isDefault_;
    isDefault_ = isDefault;
    Repaint();
    return previous;
}

void OwnerDrawButton::DrawItem(const DRAWITEMSTRUCT& draw)
{
    const HDC dc = draw.hDC;
    const std::string caption = WindowText(window_);
    RECT client;
    GetClientRect(window_, &client);

    ButtonDrawRequest request;
    request.action = draw.itemAction;
    request.state = draw.itemState;
    request.lastState = lastState_;
    request.item = DrawRect{draw.rcItem.left, draw.rcItem.top, draw.rcItem.right, draw.rcItem.bottom};
    request.clientWidth = client.right - client.left;
    request.clientHeight = client.bottom - client.top;
    request.isDefault = isDefault_;
    request.hasIcon = icon_ != nullptr;
    request.iconWidth = iconWidth_;
    request.iconHeight = iconHeight_;
    request.iconLeftMargin = iconLeftMargin_;
    request.iconCaptionGap = iconCaptionGap_;
    request.hasCaption = !caption.empty();
    if (request.hasCaption) {
        SIZE extent = {0, 0};
        GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
        request.captionWidth = extent.cx;
        request.captionHeight = extent.cy;
    }
    const ButtonPaint paint = PlanButton(request);

    if (paint.drawBlackBorder) {
        const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
        Rectangle(dc, draw.rcItem.left, draw.rcItem.top, draw.rcItem.right, draw.rcItem.bottom);
        SelectObject(dc, oldPen);
    }
    RECT frame = {paint.frame.left, paint.frame.top, paint.frame.right, paint.frame.bottom};
    if (paint.drawFrame)
        DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (paint.pressed ? DFCS_PUSHED : 0));
    const UINT effect = paint.disabled ? DSS_DISABLED : DSS_NORMAL;
    if (paint.drawIcon)
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon_), 0, paint.iconAt.x, paint.iconAt.y,
                   iconWidth_, iconHeight_, DST_ICON | effect);
    if (paint.drawCaption)
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(caption.c_str()), static_cast<WPARAM>(caption.size()),
                   paint.captionAt.x, paint.captionAt.y, request.captionWidth, request.captionHeight,
                   DST_PREFIXTEXT | effect);
    if (paint.invertFocusRectangle) {
        RECT focus = {paint.focusRectangle.left, paint.focusRectangle.top, paint.focusRectangle.right,
                      paint.focusRectangle.bottom};
        DrawFocusRect(dc, &focus);
    }
    lastAction_ = draw.itemAction;
    lastState_ = draw.itemState;
}
