#pragma once
// What an owner-drawn control is asked to paint and what it decides to
// paint, in plain values, so that the drawing rules are worked out apart
// from any window.

// A rectangle as the system has it: right and bottom are just outside.
struct DrawRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

inline bool operator==(const DrawRect& a, const DrawRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct DrawPoint {
    int x = 0;
    int y = 0;
};

inline bool operator==(const DrawPoint& a, const DrawPoint& b)
{
    return a.x == b.x && a.y == b.y;
}

// Actions of a drawing request (the system's ODA_ values).
constexpr unsigned kDrawEntire = 0x1;
constexpr unsigned kDrawSelect = 0x2;
constexpr unsigned kDrawFocus = 0x4;

// Item states of a drawing request (the system's ODS_ values).
constexpr unsigned kStateSelected = 0x1;
constexpr unsigned kStateDisabled = 0x4;
constexpr unsigned kStateFocus = 0x10;

// An RGB value with red in the low byte, green in the second and blue in
// the third.
constexpr unsigned long MakeRgb(unsigned red, unsigned green, unsigned blue)
{
    return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}

// The system colours used here, by their index (the system's COLOR_ values).
enum class SystemColour { None = -1, Window = 5, WindowText = 8, HighlightText = 14, GrayText = 17 };

// A colour to paint with: a system colour, or `rgb` when system is None.
struct PaintColour {
    SystemColour system = SystemColour::None;
    unsigned long rgb = 0;
};

inline bool operator==(const PaintColour& a, const PaintColour& b)
{
    return a.system == b.system && (a.system != SystemColour::None || a.rgb == b.rgb);
}

inline PaintColour FixedColour(unsigned long rgb)
{
    return PaintColour{SystemColour::None, rgb};
}

inline PaintColour SystemPaint(SystemColour colour)
{
    return PaintColour{colour, 0};
}
