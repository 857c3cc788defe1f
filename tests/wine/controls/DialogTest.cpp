// The dialog base: messages reach the object from the dialog's first
// message on, nothing thrown reaches the window manager, and a missing
// template is reported.
#include "resource.h"
#include "win/Dialog.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

class RecordingDialog : public win::Dialog {
public:
    RecordingDialog() : Dialog(IDD_FOLDER_BROWSER) {}
    std::vector<UINT> seen;
    int clicks = 0;
    bool throwAhead = false;
    using Dialog::AnswerAheadOfDialogManager;

protected:
    bool OnInitDialog() override
    {
        seen.push_back(WM_INITDIALOG);
        return true;
    }
    bool OnButtonClicked(int id) override
    {
        ++clicks;
        if (id == IDOK)
            throw std::runtime_error("handler failed");
        return Dialog::OnButtonClicked(id);
    }
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override
    {
        seen.push_back(message);
        if (message == WM_USER + 1) {
            result = 1;
            return true;
        }
        if (message == WM_USER + 2) {
            if (throwAhead)
                throw std::runtime_error("handler failed");
            result = 1;
            return true;
        }
        return false;
    }
};

}  // namespace

TEST(Dialog, MessagesBeforeInitDialogReachTheObject)
{
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    // The template's font is set before the dialog is initialised.
    std::size_t font = dialog.seen.size();
    std::size_t init = dialog.seen.size();
    for (std::size_t i = 0; i < dialog.seen.size(); ++i) {
        if (dialog.seen[i] == WM_SETFONT && font == dialog.seen.size())
            font = i;
        if (dialog.seen[i] == WM_INITDIALOG)
            init = i;
    }
    EXPECT_LT(font, init);
    EXPECT_LT(init, dialog.seen.size());

    // A handled message's result reaches the sender.
    EXPECT_EQ(SendMessageA(dialog.Window(), WM_USER + 1, 0, 0), 1);
}

TEST(Dialog, AMessageAnsweredAheadOfTheDialogManagerLeavesTheStoredResultAlone)
{
    for (bool destroyedByTheObject : {true, false}) {
        SCOPED_TRACE(destroyedByTheObject ? "destroyed with the object" : "destroyed by the system");
        RecordingDialog dialog;
        ASSERT_TRUE(dialog.Create());
        const HWND window = dialog.Window();
        dialog.AnswerAheadOfDialogManager(WM_USER + 2);
        SetWindowLongPtrA(window, DWLP_MSGRESULT, 77);
        EXPECT_EQ(SendMessageA(window, WM_USER + 2, 0, 0), 1);
        EXPECT_EQ(GetWindowLongPtrA(window, DWLP_MSGRESULT), 77);
        dialog.throwAhead = true;
        EXPECT_EQ(SendMessageA(window, WM_USER + 2, 0, 0), 0);
        // Every other message still goes through the dialog manager.
        EXPECT_EQ(SendMessageA(window, WM_USER + 1, 0, 0), 1);
        EXPECT_EQ(GetWindowLongPtrA(window, DWLP_MSGRESULT), 1);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        EXPECT_EQ(dialog.EndedWith(), IDCANCEL);
        if (!destroyedByTheObject) {
            ASSERT_TRUE(DestroyWindow(window));
            EXPECT_EQ(dialog.Window(), nullptr);
        }
    }
}

TEST(Dialog, NothingThrownLeavesAHandler)
{
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    SendMessageA(dialog.Window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(dialog.clicks, 1);
    EXPECT_EQ(dialog.EndedWith(), 0);
    SendMessageA(dialog.Window(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(dialog.EndedWith(), IDCANCEL);
}

TEST(Dialog, MissingTemplateCannotBeOpened)
{
    class Missing : public win::Dialog {
    public:
        Missing() : Dialog(9999) {}
    } missing;
    EXPECT_EQ(missing.RunModal(), -1);
    EXPECT_FALSE(missing.Create());
    EXPECT_EQ(missing.Window(), nullptr);
}
