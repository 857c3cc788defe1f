#include "controls/ColourListDrawing.h"

unsigned long InverseColour(unsigned long rgb)
{
    return MakeRgb(255 - (rgb & 0xFF), 255 - ((rgb >> 8) & 0xFF), 255 - ((rgb >> 16) & 0xFF));
}

ListLinePaint PlanListLine(int lineIndex, unsigned action, unsigned state, unsigned long lineColour)
{
    ListLinePaint paint;
    if (lineIndex < 0) {
        paint.drawNothing = true;
        return paint;
    }
    const bool selected = (state & kStateSelected) != 0;
    const bool disabled = (state & kStateDisabled) != 0;

    // An unselected line drawn entire has been erased by the list box.
    if (selected && (action & (kDrawEntire | kDrawSelect)) != 0) {
        paint.fillBackground = true;
        paint.background = FixedColour(lineColour);
    } else if (!selected && (action & kDrawSelect) != 0) {
        paint.fillBackground = true;
        paint.background = SystemPaint(SystemColour::Window);
    }

    // The focus rectangle inverts pixels: drawn again on losing the focus,
    // it takes itself away.
    paint.invertFocusRectangle = (action & kDrawFocus) != 0;

    if (selected)
        paint.text = lineColour == 0 ? SystemPaint(SystemColour::HighlightText) : FixedColour(InverseColour(lineColour));
    else if (disabled)
        paint.text = SystemPaint(SystemColour::GrayText);
    else
        paint.text = lineColour == 0 ? SystemPaint(SystemColour::WindowText) : FixedColour(lineColour);
    return paint;
}
