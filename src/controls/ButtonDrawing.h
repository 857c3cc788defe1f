#pragma once
// Where an owner-drawn push button puts its frame, black default border,
// icon, caption and focus rectangle for one drawing request.
#include "controls/OwnerDrawing.h"

struct ButtonDrawRequest {
    unsigned action = 0;
    unsigned state = 0;
    unsigned lastState = 0;          // state of the previous drawing
    DrawRect item;                   // the item rectangle
    int clientWidth = 0;
    int clientHeight = 0;
    bool isDefault = false;
    bool hasIcon = false;
    int iconWidth = 0;
    int iconHeight = 0;
    int iconLeftMargin = 4;
    int iconCaptionGap = 8;
    bool hasCaption = false;
    int captionWidth = 0;            // the caption's extent in the button's font
    int captionHeight = 0;
};

struct ButtonPaint {
    bool pressed = false;
    bool disabled = false;           // icon and caption embossed
    bool focusOnly = false;          // only the focus rectangle may change
    int offset = 0;                  // content offset right and down when pressed
    DrawRect frame;                  // R: the frame's rectangle
    bool drawBlackBorder = false;    // over the whole item rectangle
    bool drawFrame = false;
    bool drawIcon = false;
    DrawPoint iconAt;
    bool drawCaption = false;
    DrawPoint captionAt;
    bool invertFocusRectangle = false;
    DrawRect focusRectangle;
};

ButtonPaint PlanButton(const ButtonDrawRequest& request);

// R shrunk by 3 on every side when its smaller side is 16 or more, else by
// a quarter of that side.
DrawRect FocusRectangleInside(const DrawRect& frame);
