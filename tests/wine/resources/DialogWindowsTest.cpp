// The dialogs created as windows (needs a display; skipped without one):
// every control the program addresses exists, and the About picture fits
// its frame at the dialog font's real size. With QZ_SCREENSHOT_DIR set,
// a screenshot of each dialog is saved there.
#include "ExpectedDialogs.h"
#include "support/MessagePump.h"
#include "support/TestSkips.h"
#include "support/WineHost.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "resource.h"

#include <cstdlib>
#include <string>

namespace {

INT_PTR CALLBACK PlainDialogProcedure(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

class ResourceDialogWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        QZ_REQUIRE_DISPLAY();
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&classes);
    }

    HWND Open(int id)
    {
        HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), nullptr,
                                         PlainDialogProcedure, 0);
        if (dialog != nullptr) {
            ShowWindow(dialog, SW_SHOW);
            UpdateWindow(dialog);
        }
        return dialog;
    }

    static void Screenshot(HWND dialog, int id)
    {
        const char* folder = std::getenv("QZ_SCREENSHOT_DIR");
        if (folder == nullptr || *folder == '\0')
            return;
        EXPECT_TRUE(qztest::PumpUntilPainted(dialog));
        qztest::RunUnix({"import", "-window", "root",
                         std::string(folder) + "/dialog-" + std::to_string(id) + ".png"});
    }
};

BOOL CALLBACK FindPicture(HWND child, LPARAM found)
{
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

TEST_F(ResourceDialogWindows, EveryDialogOpensWithAllItsControls)
{
    for (const auto& expected : ExpectedDialogs()) {
        SCOPED_TRACE("dialog " + std::to_string(expected.id));
        HWND dialog = Open(expected.id);
        ASSERT_NE(dialog, nullptr) << GetLastError();
        for (const auto& control : expected.controls) {
            HWND item = GetDlgItem(dialog, control.id);
            EXPECT_NE(item, nullptr) << "control " << control.id;
            char className[64] = "";
            GetClassNameA(item, className, sizeof className);
            EXPECT_EQ(lstrcmpiA(className, control.className), 0) << className;
        }
        Screenshot(dialog, expected.id);
        DestroyWindow(dialog);
    }
}

TEST_F(ResourceDialogWindows, AboutPictureFitsItsFrame)
{
    HWND about = Open(IDD_ABOUT);
    ASSERT_NE(about, nullptr);
    HWND frame = nullptr;
    EnumChildWindows(about, FindPicture, reinterpret_cast<LPARAM>(&frame));
    ASSERT_NE(frame, nullptr);
    auto picture = reinterpret_cast<HBITMAP>(SendMessageA(frame, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(picture, nullptr);
    BITMAP size{};
    GetObjectA(picture, sizeof size, &size);
    RECT inside{};
    GetClientRect(frame, &inside);
    EXPECT_LE(size.bmWidth, inside.right);
    EXPECT_LE(size.bmHeight, inside.bottom);
    // The frame and the picture stay inside the dialog.
    RECT frameRect{}, client{};
    GetWindowRect(frame, &frameRect);
    MapWindowPoints(nullptr, about, reinterpret_cast<POINT*>(&frameRect), 2);
    GetClientRect(about, &client);
    EXPECT_LE(frameRect.right, client.right);
    EXPECT_LE(frameRect.bottom, client.bottom);
    DestroyWindow(about);
}
