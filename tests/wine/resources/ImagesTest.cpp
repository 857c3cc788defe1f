// The icons of the main window and its buttons, and the About picture: each
// holds an image drawn at the size the program asks for, so nothing is
// scaled on screen.
#include <gtest/gtest.h>

#include <windows.h>

#include "resource.h"

#include <set>

namespace {

HMODULE Program()
{
    return GetModuleHandleA(nullptr);
}

// The pixel sizes of the images in icon group `id` (square images only).
std::set<int> ImageSizes(int id)
{
    std::set<int> sizes;
    HRSRC found = FindResourceA(Program(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    if (found == nullptr)
        return sizes;
    const auto* group = static_cast<const unsigned char*>(LockResource(LoadResource(Program(), found)));
    const DWORD size = SizeofResource(Program(), found);
    if (group == nullptr || size < 6)
        return sizes;
    // GRPICONDIR: reserved, type, count; then 14-byte entries starting with
    // width and height (0 meaning 256).
    const unsigned count = group[4] | (group[5] << 8);
    for (unsigned i = 0; i < count && 6 + 14 * (i + 1) <= size; ++i) {
        const unsigned char* entry = group + 6 + 14 * i;
        if (entry[0] == entry[1])
            sizes.insert(entry[0] == 0 ? 256 : entry[0]);
    }
    return sizes;
}

struct IconUse {
    int id;
    int buttonSize;  // 0: not on a button
};

const IconUse icons[] = {
    {IDI_PROGRAM, 0},   {IDI_EXIT, 20},     {IDI_SETTINGS, 20}, {IDI_SAVE, 20},
    {IDI_RECOVERY_DISK, 18}, {IDI_SHOW_LOG, 20}, {IDI_RESTORE, 20},
};

}  // namespace

TEST(ResourceImages, EveryIconHoldsItsButtonSizeAndTheSystemSizes)
{
    for (const auto& icon : icons) {
        SCOPED_TRACE("icon " + std::to_string(icon.id));
        const std::set<int> sizes = ImageSizes(icon.id);
        EXPECT_EQ(sizes.count(16), 1u);
        EXPECT_EQ(sizes.count(32), 1u);
        if (icon.buttonSize != 0) {
            EXPECT_EQ(sizes.count(icon.buttonSize), 1u);
        }
    }
}

TEST(ResourceImages, EveryIconLoadsAtTheSizeItIsDrawnAt)
{
    for (const auto& icon : icons) {
        SCOPED_TRACE("icon " + std::to_string(icon.id));
        const int side = icon.buttonSize != 0 ? icon.buttonSize : 32;
        HICON handle = static_cast<HICON>(
            LoadImageA(Program(), MAKEINTRESOURCEA(icon.id), IMAGE_ICON, side, side, LR_DEFAULTCOLOR));
        ASSERT_NE(handle, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(handle, &info));
        BITMAP colour{};
        ASSERT_NE(info.hbmColor, nullptr);
        GetObjectA(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, side);
        EXPECT_EQ(colour.bmHeight, side);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(handle);
    }
}

TEST(ResourceImages, AboutPictureLoads)
{
    HBITMAP picture = static_cast<HBITMAP>(
        LoadImageA(Program(), MAKEINTRESOURCEA(IDB_ABOUT_PICTURE), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    ASSERT_NE(picture, nullptr);
    BITMAP info{};
    ASSERT_NE(GetObjectA(picture, sizeof info, &info), 0);
    EXPECT_GT(info.bmWidth, 0);
    EXPECT_GT(info.bmHeight, 0);
    DeleteObject(picture);
}
