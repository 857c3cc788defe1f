#include "controls/ColourListDrawing.h"

#include <gtest/gtest.h>

namespace {

constexpr unsigned long kRed = MakeRgb(255, 0, 0);
constexpr unsigned long kDarkGreen = MakeRgb(0, 100, 0);

}  // namespace

TEST(ColourListDrawing, ReportColoursHoldRedInTheLowByte)
{
    EXPECT_EQ(kFailureLineColour, 0x0000FFul);
    EXPECT_EQ(kSuccessLineColour, 0x006400ul);
    EXPECT_EQ(InverseColour(kRed), MakeRgb(0, 255, 255));
    EXPECT_EQ(InverseColour(kDarkGreen), MakeRgb(255, 155, 255));
    EXPECT_EQ(InverseColour(MakeRgb(1, 2, 3)), MakeRgb(254, 253, 252));
}

TEST(ColourListDrawing, SelectedColouredLineIsInverseTextOnItsOwnColour)
{
    for (unsigned action : {kDrawEntire, kDrawSelect}) {
        ListLinePaint paint = PlanListLine(0, action, kStateSelected, kRed);
        EXPECT_TRUE(paint.fillBackground);
        EXPECT_EQ(paint.background, FixedColour(kRed));
        EXPECT_EQ(paint.text, FixedColour(MakeRgb(0, 255, 255)));
        EXPECT_FALSE(paint.invertFocusRectangle);

        paint = PlanListLine(3, action, kStateSelected, kDarkGreen);
        EXPECT_EQ(paint.background, FixedColour(kDarkGreen));
        EXPECT_EQ(paint.text, FixedColour(MakeRgb(255, 155, 255)));
    }
}

TEST(ColourListDrawing, SelectedLineWithoutColourIsHighlightTextOnBlack)
{
    const ListLinePaint paint = PlanListLine(0, kDrawEntire, kStateSelected, 0);
    EXPECT_TRUE(paint.fillBackground);
    EXPECT_EQ(paint.background, FixedColour(MakeRgb(0, 0, 0)));
    EXPECT_EQ(paint.text, SystemPaint(SystemColour::HighlightText));
}

TEST(ColourListDrawing, LineLosingTheSelectionGetsTheWindowBackgroundAndItsColour)
{
    ListLinePaint paint = PlanListLine(2, kDrawSelect, 0, kRed);
    EXPECT_TRUE(paint.fillBackground);
    EXPECT_EQ(paint.background, SystemPaint(SystemColour::Window));
    EXPECT_EQ(paint.text, FixedColour(kRed));

    paint = PlanListLine(2, kDrawSelect, 0, 0);
    EXPECT_EQ(paint.text, SystemPaint(SystemColour::WindowText));
}

TEST(ColourListDrawing, UnselectedLineDrawnEntireKeepsTheErasedBackground)
{
    const ListLinePaint paint = PlanListLine(1, kDrawEntire, 0, kDarkGreen);
    EXPECT_FALSE(paint.fillBackground);
    EXPECT_EQ(paint.text, FixedColour(kDarkGreen));
}

TEST(ColourListDrawing, FocusChangeInvertsTheFocusRectangleOnly)
{
    // Gained and lost alike: the second inversion removes the first.
    for (unsigned state : {kStateFocus, 0u, kStateFocus | kStateSelected}) {
        const ListLinePaint paint = PlanListLine(0, kDrawFocus, state, kRed);
        EXPECT_TRUE(paint.invertFocusRectangle);
        EXPECT_FALSE(paint.fillBackground);
    }
}

TEST(ColourListDrawing, DisabledUnselectedLineIsGreyWhateverItsColour)
{
    EXPECT_EQ(PlanListLine(0, kDrawEntire, kStateDisabled, kRed).text, SystemPaint(SystemColour::GrayText));
    EXPECT_EQ(PlanListLine(0, kDrawEntire, kStateDisabled, 0).text, SystemPaint(SystemColour::GrayText));
    // Selected wins over disabled.
    EXPECT_EQ(PlanListLine(0, kDrawEntire, kStateDisabled | kStateSelected, kRed).text,
              FixedColour(MakeRgb(0, 255, 255)));
}

TEST(ColourListDrawing, NoLineMeansNothingToDraw)
{
    const ListLinePaint paint = PlanListLine(-1, kDrawFocus, kStateFocus, 0);
    EXPECT_TRUE(paint.drawNothing);
    EXPECT_FALSE(paint.invertFocusRectangle);
    EXPECT_FALSE(paint.fillBackground);
}
