// The owner-draw button on a real button window.
#include "TestOwnerWindow.h"
#include "controls/OwnerDrawButton.h"
#include "win/Texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kSaveId = 1002;
constexpr COLORREF kMarker = RGB(1, 2, 3);

DRAWITEMSTRUCT DrawRequest(HWND button, HDC dc, UINT action, UINT state, int width, int height)
{
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_BUTTON;
    draw.CtlID = kSaveId;
    draw.itemAction = action;
    draw.itemState = state;
    draw.hwndItem = button;
    draw.hDC = dc;
    draw.rcItem = RECT{0, 0, width, height};
    return draw;
}

}  // namespace

TEST(OwnerDrawButton, SetDefaultAsksTheParentWithTheButtonsId)
{
    TestOwnerWindow owner;
    OwnerDrawButton save;
    save.Attach(owner.AddChild("Button", BS_OWNERDRAW | WS_TABSTOP, kSaveId, "Save data", 113, 28));

    EXPECT_FALSE(save.SetDefault(true));
    EXPECT_TRUE(save.IsDefault());
    ASSERT_EQ(owner.userMessages.size(), 1u);
    EXPECT_EQ(owner.userMessages[0].first, 1025u);  // DM_SETDEFID, as WM_USER+1
    EXPECT_EQ(owner.userMessages[0].second, static_cast<WPARAM>(kSaveId));

    EXPECT_TRUE(save.SetDefault(false));
    EXPECT_FALSE(save.IsDefault());
    EXPECT_EQ(owner.userMessages.size(), 2u);
}

TEST(OwnerDrawButton, IconThatCannotBeLoadedLeavesTheButtonWithoutIcon)
{
    TestOwnerWindow owner;
    OwnerDrawButton button;
    button.Attach(owner.AddChild("Button", BS_OWNERDRAW, kSaveId, "Save data", 113, 28));

    // Icon 1 of the shell's library stands in for the program's icons.
    win::SetResourceModule(GetModuleHandleA("shell32.dll"));
    EXPECT_TRUE(button.SetIcon(1, 20, 20));
    EXPECT_TRUE(button.HasIcon());
    win::SetResourceModule(nullptr);

    EXPECT_FALSE(button.SetIcon(9999, 20, 20));
    EXPECT_FALSE(button.HasIcon());
}

TEST(OwnerDrawButton, DefaultButtonHasABlackOutlineAndFocusOnlyTouchesTheFocusRectangle)
{
    TestOwnerWindow owner;
    OwnerDrawButton button;
    button.Attach(owner.AddChild("Button", BS_OWNERDRAW, kSaveId, "Save", 113, 28));
    RECT client;
    GetClientRect(button.Window(), &client);
    const int width = client.right;
    const int height = client.bottom;
    button.SetDefault(true);

    PixelCanvas canvas(width, height, kMarker);
    button.DrawItem(DrawRequest(button.Window(), canvas.Dc(), ODA_DRAWENTIRE, 0, width, height));
    EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(width - 1, height / 2), RGB(0, 0, 0));
    EXPECT_NE(canvas.At(1, 1), RGB(0, 0, 0));
    EXPECT_FALSE(canvas.Contains(kMarker, 0, width));
    const std::vector<COLORREF> drawn = canvas.Pixels();

    // Gaining the focus changes pixels only on the rectangle 3 pixels
    // inside the frame (which lies 1 pixel inside the border).
    button.DrawItem(DrawRequest(button.Window(), canvas.Dc(), ODA_FOCUS, ODS_FOCUS, width, height));
    const std::vector<COLORREF> focused = canvas.Pixels();
    int changed = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (focused[y * width + x] == drawn[y * width + x])
                continue;
            ++changed;
            const bool onOutline = ((x == 4 || x == width - 5) && y >= 4 && y <= height - 5) ||
                                   ((y == 4 || y == height - 5) && x >= 4 && x <= width - 5);
            EXPECT_TRUE(onOutline) << x << "," << y;
        }
    }
    EXPECT_GT(changed, 0);

    // Losing it takes the rectangle away again.
    button.DrawItem(DrawRequest(button.Window(), canvas.Dc(), ODA_FOCUS, 0, width, height));
    EXPECT_EQ(canvas.Pixels(), drawn);
}
