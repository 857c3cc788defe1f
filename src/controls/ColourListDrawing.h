#pragma once
// How one line of the colour message list is painted: its background, its
// focus rectangle and its text colour, from the line's colour (the item
// data, 0 for a line without a colour of its own), the requested action
// and the line's state.
#include "controls/OwnerDrawing.h"

// The colours of the save run's reports.
constexpr unsigned long kSuccessLineColour = MakeRgb(0, 100, 0);
constexpr unsigned long kFailureLineColour = MakeRgb(255, 0, 0);

struct ListLinePaint {
    bool drawNothing = false;        // no line (an empty list gets the focus)
    bool fillBackground = false;
    PaintColour background;
    bool invertFocusRectangle = false;
    PaintColour text;
};

// Red, green and blue each replaced by 255 minus its value.
unsigned long InverseColour(unsigned long rgb);

ListLinePaint PlanListLine(int lineIndex, unsigned action, unsigned state, unsigned long lineColour);
