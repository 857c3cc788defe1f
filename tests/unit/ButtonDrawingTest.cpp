#include "controls/ButtonDrawing.h"

#include <gtest/gtest.h>

namespace {

// The Save button of the main dialog: 20 x 20 icon, a caption 50 x 13,
// a client area of 113 x 28.
ButtonDrawRequest SaveButton(unsigned action = kDrawEntire, unsigned state = 0)
{
    ButtonDrawRequest request;
    request.action = action;
    request.state = state;
    request.item = DrawRect{0, 0, 113, 28};
    request.clientWidth = 113;
    request.clientHeight = 28;
    request.hasIcon = true;
    request.iconWidth = 20;
    request.iconHeight = 20;
    request.hasCaption = true;
    request.captionWidth = 50;
    request.captionHeight = 13;
    return request;
}

}  // namespace

TEST(ButtonDrawing, IconAtTheLeftMarginAndCaptionCentredRightOfIt)
{
    const ButtonPaint paint = PlanButton(SaveButton());
    EXPECT_TRUE(paint.drawFrame);
    EXPECT_FALSE(paint.pressed);
    EXPECT_EQ(paint.frame, (DrawRect{0, 0, 113, 28}));
    EXPECT_EQ(paint.iconAt, (DrawPoint{4, 4}));
    // 4 + 20 + 8 = 32; (113 - 32 - 50) / 2 = 15; (28 - 13) / 2 - 1 = 6.
    EXPECT_EQ(paint.captionAt, (DrawPoint{47, 6}));
    EXPECT_FALSE(paint.invertFocusRectangle);
}

TEST(ButtonDrawing, ButtonWithoutCaptionCentresItsIcon)
{
    ButtonDrawRequest request = SaveButton();
    request.hasCaption = false;
    request.clientWidth = 41;
    request.item.right = 41;
    const ButtonPaint paint = PlanButton(request);
    EXPECT_FALSE(paint.drawCaption);
    EXPECT_EQ(paint.iconAt, (DrawPoint{10, 4}));  // remainders dropped
}

TEST(ButtonDrawing, CaptionWithoutIconIsCentredInTheClientArea)
{
    ButtonDrawRequest request = SaveButton();
    request.hasIcon = false;
    const ButtonPaint paint = PlanButton(request);
    EXPECT_FALSE(paint.drawIcon);
    EXPECT_EQ(paint.captionAt, (DrawPoint{31, 6}));
}

TEST(ButtonDrawing, WideCaptionStartsRightAfterIconAndGap)
{
    ButtonDrawRequest request = SaveButton();
    request.captionWidth = 200;
    EXPECT_EQ(PlanButton(request).captionAt.x, 32);
}

TEST(ButtonDrawing, PressedButtonMovesItsContentOnePixel)
{
    const ButtonPaint paint = PlanButton(SaveButton(kDrawSelect, kStateSelected));
    EXPECT_TRUE(paint.pressed);
    EXPECT_EQ(paint.offset, 1);
    EXPECT_EQ(paint.iconAt, (DrawPoint{5, 5}));
    EXPECT_EQ(paint.captionAt, (DrawPoint{48, 7}));
}

TEST(ButtonDrawing, DefaultButtonHasABlackBorderAndAFrameInsideIt)
{
    ButtonDrawRequest request = SaveButton(kDrawEntire, kStateFocus);
    request.isDefault = true;
    request.item = DrawRect{0, 0, 113, 24};
    request.clientHeight = 24;
    const ButtonPaint paint = PlanButton(request);
    EXPECT_TRUE(paint.drawBlackBorder);
    EXPECT_EQ(paint.frame, (DrawRect{1, 1, 112, 23}));
    EXPECT_EQ(paint.iconAt.x, 5);  // the margin counts from the frame
    EXPECT_TRUE(paint.invertFocusRectangle);
    EXPECT_EQ(paint.focusRectangle, (DrawRect{4, 4, 109, 20}));
}

TEST(ButtonDrawing, SmallButtonsInsetTheFocusRectangleByAQuarterOfTheSmallerSide)
{
    EXPECT_EQ(FocusRectangleInside(DrawRect{0, 0, 60, 10}), (DrawRect{2, 2, 58, 8}));
    EXPECT_EQ(FocusRectangleInside(DrawRect{0, 0, 15, 40}), (DrawRect{3, 3, 12, 37}));
    EXPECT_EQ(FocusRectangleInside(DrawRect{0, 0, 16, 16}), (DrawRect{3, 3, 13, 13}));
    EXPECT_EQ(FocusRectangleInside(DrawRect{0, 0, 30, 3}), (DrawRect{0, 0, 30, 3}));
}

TEST(ButtonDrawing, DisabledButtonIsEmbossedWithoutFocusRectangle)
{
    ButtonDrawRequest request = SaveButton(kDrawEntire, kStateDisabled | kStateFocus);
    ButtonPaint paint = PlanButton(request);
    EXPECT_TRUE(paint.disabled);
    EXPECT_TRUE(paint.drawIcon);
    EXPECT_TRUE(paint.drawCaption);
    EXPECT_FALSE(paint.invertFocusRectangle);

    // Gaining the focus while disabled shows nothing either.
    request.action = kDrawFocus;
    request.lastState = kStateDisabled;
    EXPECT_FALSE(PlanButton(request).invertFocusRectangle);
}

TEST(ButtonDrawing, FocusOnlyRequestTogglesOnlyTheFocusRectangle)
{
    ButtonDrawRequest request = SaveButton(kDrawFocus, kStateFocus);
    ButtonPaint paint = PlanButton(request);
    EXPECT_TRUE(paint.focusOnly);
    EXPECT_FALSE(paint.drawFrame);
    EXPECT_FALSE(paint.drawIcon);
    EXPECT_FALSE(paint.drawCaption);
    EXPECT_FALSE(paint.drawBlackBorder);
    EXPECT_TRUE(paint.invertFocusRectangle);  // gained

    request.state = 0;
    request.lastState = kStateFocus;
    EXPECT_TRUE(PlanButton(request).invertFocusRectangle);  // lost: inverted away

    request.lastState = 0;
    EXPECT_FALSE(PlanButton(request).invertFocusRectangle);  // no change
}

TEST(ButtonDrawing, NewlyDrawnFrameGetsTheFocusRectangleOnlyWithTheFocus)
{
    ButtonDrawRequest request = SaveButton(kDrawEntire, kStateFocus);
    request.lastState = kStateFocus;
    EXPECT_TRUE(PlanButton(request).invertFocusRectangle);

    // The frame just drawn has no rectangle to take away.
    request.state = 0;
    EXPECT_FALSE(PlanButton(request).invertFocusRectangle);

    // Enabled again with the focus still on it.
    request.state = kStateFocus;
    request.lastState = kStateFocus | kStateDisabled;
    EXPECT_TRUE(PlanButton(request).invertFocusRectangle);
}
