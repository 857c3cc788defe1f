#include "controls/ButtonDrawing.h"

#include <algorithm>

namespace {

DrawRect Shrunk(const DrawRect& rect, int by)
{
    return DrawRect{rect.left + by, rect.top + by, rect.right - by, rect.bottom - by};
}

DrawPoint IconPosition(const ButtonDrawRequest& request, const DrawRect& frame)
{
    DrawPoint at;
    at.x = request.hasCaption ? frame.left + request.iconLeftMargin : (request.clientWidth - request.iconWidth) / 2;
    at.y = (request.clientHeight - request.iconHeight) / 2;
    return at;
}

DrawPoint CaptionPosition(const ButtonDrawRequest& request)
{
    DrawPoint at;
    if (request.hasIcon) {
        // Centred in the space right of the icon; a caption wider than that
        // space starts right after the icon and the gap.
        const int leftOfSpace = request.iconLeftMargin + request.iconWidth + request.iconCaptionGap;
        const int remaining = request.clientWidth - leftOfSpace - request.captionWidth;
        at.x = leftOfSpace + std::max(0, remaining / 2);
    } else {
        at.x = (request.clientWidth - request.captionWidth) / 2;
    }
    at.y = (request.clientHeight - request.captionHeight) / 2 - 1;
    return at;
}

}  // namespace

DrawRect FocusRectangleInside(const DrawRect& frame)
{
    const int smaller = std::min(frame.Width(), frame.Height());
    return Shrunk(frame, smaller >= 16 ? 3 : smaller / 4);
}

ButtonPaint PlanButton(const ButtonDrawRequest& request)
{
    ButtonPaint paint;
    paint.pressed = (request.state & kStateSelected) != 0;
    paint.offset = paint.pressed ? 1 : 0;
    paint.disabled = (request.state & kStateDisabled) != 0;
    paint.focusOnly = request.action == kDrawFocus;
    paint.frame = request.isDefault ? Shrunk(request.item, 1) : request.item;

    if (!paint.focusOnly) {
        // The frame covers all of the black rectangle but its outline.
        paint.drawBlackBorder = request.isDefault;
        paint.drawFrame = true;
        if (request.hasIcon) {
            paint.drawIcon = true;
            paint.iconAt = IconPosition(request, paint.frame);
            paint.iconAt.x += paint.offset;
            paint.iconAt.y += paint.offset;
        }
        if (request.hasCaption) {
            paint.drawCaption = true;
            paint.captionAt = CaptionPosition(request);
            paint.captionAt.x += paint.offset;
            paint.captionAt.y += paint.offset;
        }
    }

    // The focus rectangle inverts pixels, so it is drawn to change whether
    // it shows. It shows while the button has the focus and is enabled; a
    // newly drawn frame has none.
    const bool wanted = (request.state & kStateFocus) != 0 && !paint.disabled;
    const bool shownBefore = (request.lastState & kStateFocus) != 0 && (request.lastState & kStateDisabled) == 0;
    paint.invertFocusRectangle = paint.focusOnly ? wanted != shownBefore : wanted;
    if (paint.invertFocusRectangle)
        paint.focusRectangle = FocusRectangleInside(paint.frame);
    return paint;
}
