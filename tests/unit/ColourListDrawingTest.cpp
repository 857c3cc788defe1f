#include "controls/ColourListDrawing.h"

#include <gtest/gtest.h>

namespace {

constexpr unsigned long kRed = MakeRgb(255, 0, 0);
constexpr unsigned long kDarkGreen = MakeRgb(0, 100, 0);

}  // namespace

TEST(ColourListDrawing, SelectedLineIsTheInverseColourOnItsOwnOrHighlightTextOnBlack)
{
    EXPECT_EQ(kFailureLineColour, 0x0000FFul);  // red in the low byte
    EXPECT_EQ(kSuccessLineColour, 0x006400ul);
    for (unsigned action : {kDrawEntire, kDrawSelect}) {
        ListLinePaint paint = PlanListLine(0, action, kStateSelected, kRed);
        EXPECT_TRUE(paint.fillBackground);
        EXPECT_EQ(paint.background, FixedColour(kRed));
        EXPECT_EQ(paint.text, FixedColour(MakeRgb(0, 255, 255)));

        paint = PlanListLine(3, action, kStateSelected, kDarkGreen);
        EXPECT_EQ(paint.text, FixedColour(MakeRgb(255, 155, 255)));

        paint = PlanListLine(0, action, kStateSelected, 0);
        EXPECT_EQ(paint.background, FixedColour(MakeRgb(0, 0, 0)));
        EXPECT_EQ(paint.text, SystemPaint(SystemColour::HighlightText));
    }
}

TEST(ColourListDrawing, UnselectedLineIsItsColourOnTheWindowBackground)
{
    ListLinePaint paint = PlanListLine(2, kDrawSelect, 0, kRed);
    EXPECT_TRUE(paint.fillBackground);
    EXPECT_EQ(paint.background, SystemPaint(SystemColour::Window));
    EXPECT_EQ(paint.text, FixedColour(kRed));
    EXPECT_EQ(PlanListLine(2, kDrawSelect, 0, 0).text, SystemPaint(SystemColour::WindowText));

    // Drawn entire, the list box has erased it already.
    EXPECT_FALSE(PlanListLine(1, kDrawEntire, 0, kDarkGreen).fillBackground);

    EXPECT_EQ(PlanListLine(0, kDrawEntire, kStateDisabled, kRed).text, SystemPaint(SystemColour::GrayText));
    EXPECT_EQ(PlanListLine(0, kDrawEntire, kStateDisabled, 0).text, SystemPaint(SystemColour::GrayText));
}

TEST(ColourListDrawing, FocusChangeOnlyInvertsTheFocusRectangle)
{
    for (unsigned state : {kStateFocus, 0u, kStateFocus | kStateSelected}) {
        const ListLinePaint paint = PlanListLine(0, kDrawFocus, state, kRed);
        EXPECT_TRUE(paint.invertFocusRectangle);
        EXPECT_FALSE(paint.fillBackground);
    }
    const ListLinePaint none = PlanListLine(-1, kDrawFocus, kStateFocus, 0);
    EXPECT_TRUE(none.drawNothing);
    EXPECT_FALSE(none.invertFocusRectangle);
}
