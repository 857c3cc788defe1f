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

TEST(ButtonDrawing, IconAtTheLeftMarginAndCaptionCentredInTheSpaceRightOfIt)
{
    ButtonDrawRequest request = SaveButton();
    ButtonPaint paint = PlanButton(request);
    EXPECT_TRUE(paint.drawFrame);
    EXPECT_EQ(paint.iconAt, (DrawPoint{4, 4}));
    // 4 + 20 + 8 = 32; (113 - 32 - 50) / 2 = 15; (28 - 13) / 2 - 1 = 6.
    EXPECT_EQ(paint.captionAt, (DrawPoint{47, 6}));

    request.captionWidth = 200;  // wider than the space: right after the gap
    EXPECT_EQ(PlanButton(request).captionAt.x, 32);

    request = SaveButton();
    request.hasIcon = false;
    EXPECT_EQ(PlanButton(request).captionAt, (DrawPoint{31, 6}));

    request = SaveButton();
    request.hasCaption = false;
    request.clientWidth = 41;
    paint = PlanButton(request);
    EXPECT_FALSE(paint.drawCaption);
    EXPECT_EQ(paint.iconAt, (DrawPoint{10, 4}));  // centred, remainders dropped
}

TEST(ButtonDrawing, PressedButtonMovesItsContentOnePixel)
{
    const ButtonPaint paint = PlanButton(SaveButton(kDrawSelect, kStateSelected));
    EXPECT_TRUE(paint.pressed);
    EXPECT_EQ(paint.iconAt, (DrawPoint{5, 5}));
    EXPECT_EQ(paint.captionAt, (DrawPoint{48, 7}));
}

TEST(ButtonDrawing, DefaultButtonHasABlackBorderAndTheFocusRectangleInsideItsFrame)
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

    // Smaller than 16: a quarter of the smaller side.
    EXPECT_EQ(FocusRectangleInside(DrawRect{0, 0, 60, 10}), (DrawRect{2, 2, 58, 8}));
    EXPECT_EQ(FocusRectangleInside(DrawRect{0, 0, 15, 40}), (DrawRect{3, 3, 12, 37}));
    EXPECT_EQ(FocusRectangleInside(DrawRect{0, 0, 16, 16}), (DrawRect{3, 3, 13, 13}));
}

TEST(ButtonDrawing, DisabledButtonIsEmbossedWithoutFocusRectangle)
{
    ButtonDrawRequest request = SaveButton(kDrawEntire, kStateDisabled | kStateFocus);
    const ButtonPaint paint = PlanButton(request);
    EXPECT_TRUE(paint.disabled);
    EXPECT_TRUE(paint.drawIcon && paint.drawCaption);
    EXPECT_FALSE(paint.invertFocusRectangle);

    request.action = kDrawFocus;
    request.lastState = kStateDisabled;
    EXPECT_FALSE(PlanButton(request).invertFocusRectangle);
}

TEST(ButtonDrawing, FocusRectangleIsInvertedOnlyToChangeWhetherItShows)
{
    ButtonDrawRequest request = SaveButton(kDrawFocus, kStateFocus);
    const ButtonPaint paint = PlanButton(request);
    EXPECT_TRUE(paint.focusOnly);
    EXPECT_FALSE(paint.drawFrame || paint.drawIcon || paint.drawCaption || paint.drawBlackBorder);
    EXPECT_TRUE(paint.invertFocusRectangle);  // gained

    request.state = 0;
    request.lastState = kStateFocus;
    EXPECT_TRUE(PlanButton(request).invertFocusRectangle);  // lost
    request.lastState = 0;
    EXPECT_FALSE(PlanButton(request).invertFocusRectangle);  // unchanged

    // A newly drawn frame has no rectangle: drawn only with the focus.
    request = SaveButton(kDrawEntire, 0);
    request.lastState = kStateFocus;
    EXPECT_FALSE(PlanButton(request).invertFocusRectangle);
    request.state = kStateFocus;
    request.lastState = kStateFocus | kStateDisabled;  // enabled again
    EXPECT_TRUE(PlanButton(request).invertFocusRectangle);
}
