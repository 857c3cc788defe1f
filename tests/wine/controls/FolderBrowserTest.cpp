// The folder browser against real folders: the tree is read lazily from
// disk, sorted without regard to case, and opened at a path typed in any
// case.
#include "controls/FolderBrowserDialog.h"
#include "controls/FolderListing.h"
#include "resource.h"
#include "support/MessagePump.h"
#include "support/WineHost.h"
#include "win/CallCounter.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace {

std::string TextOf(HWND tree, HTREEITEM item)
{
    char buffer[300] = "";
    TVITEMA query = {};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = buffer;
    query.cchTextMax = sizeof buffer;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return buffer;
}

std::vector<std::string> ChildTexts(HWND tree, HTREEITEM parent)
{
    std::vector<std::string> texts;
    for (HTREEITEM child = parent == nullptr ? TreeView_GetRoot(tree) : TreeView_GetChild(tree, parent);
         child != nullptr; child = TreeView_GetNextSibling(tree, child))
        texts.push_back(TextOf(tree, child));
    return texts;
}

HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::string& text)
{
    for (HTREEITEM child = parent == nullptr ? TreeView_GetRoot(tree) : TreeView_GetChild(tree, parent);
         child != nullptr; child = TreeView_GetNextSibling(tree, child)) {
        if (TextOf(tree, child) == text)
            return child;
    }
    return nullptr;
}

// Shown as soon as the dialog is (the tests keep it hidden).
bool HasVisibleStyle(HWND window)
{
    return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// What the user does with the keyboard on the selected item.
void PressKey(HWND tree, WPARAM key)
{
    SendMessageA(tree, WM_KEYDOWN, key, 0);
    SendMessageA(tree, WM_KEYUP, key, 0);
}

// A folder with sub-folders in mixed case, a hidden one, one with a
// sub-folder of its own, and a file.
class FolderBrowser : public ::testing::Test {
protected:
    FolderBrowser() : folder_("browser")
    {
        qztest::MakeDirectories(folder_ / "beta");
        qztest::MakeDirectories(folder_ / "Alpha");
        qztest::MakeDirectories(folder_ / "delta\\inner");
        qztest::MakeDirectories(folder_ / "Gamma");
        qztest::SetAttributes(folder_ / "Gamma", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
        qztest::WriteFileText(folder_ / "notes.txt", "x");
        win::ResetCalls();
    }
    ~FolderBrowser() override { win::ResetCalls(); }

    // Opens the dialog modeless at `initialPath`.
    HWND Open(FolderBrowserDialog& dialog, const std::string& initialPath)
    {
        dialog.InitialPath = initialPath;
        EXPECT_TRUE(dialog.Create());
        return GetDlgItem(dialog.Window(), IDC_BRW_TREE);
    }

    static std::string EditText(FolderBrowserDialog& dialog)
    {
        char buffer[300] = "";
        GetDlgItemTextA(dialog.Window(), IDC_BRW_SELECTED_PATH, buffer, sizeof buffer);
        return buffer;
    }

    qztest::ScratchFolder folder_;
};

}  // namespace

TEST_F(FolderBrowser, ListsSubFoldersSortedWithoutRegardToCaseHiddenOnesIncluded)
{
    const std::vector<std::string> expected = {folder_ / "Alpha", folder_ / "beta", folder_ / "delta",
                                               folder_ / "Gamma"};
    EXPECT_EQ(ReadSubFolders(folder_.Path()), expected);
    EXPECT_TRUE(HasSubFolder("C:\\"));
    EXPECT_FALSE(HasSubFolder(folder_ / "beta"));
    EXPECT_FALSE(HasSubFolder(folder_ / "missing"));
    EXPECT_TRUE(ReadSubFolders(folder_ / "missing").empty());

    // Only the hidden folder left: it still counts.
    qztest::ScratchFolder onlyHidden("browser-hidden");
    qztest::MakeDirectories(onlyHidden / "secret");
    qztest::SetAttributes(onlyHidden / "secret", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(HasSubFolder(onlyHidden.Path()));
}

TEST_F(FolderBrowser, OpensAtThePathTypedInAnotherCaseAndShowsTheCaseOnDisk)
{
    FolderBrowserDialog dialog;
    dialog.SetTitle("Save");
    dialog.Prompt = "Save data to";
    const HWND tree = Open(dialog, "c:\\QZTEST\\Browser");

    EXPECT_EQ(dialog.GetSelectedPath(), folder_.Path());
    EXPECT_EQ(EditText(dialog), folder_.Path());
    char title[100] = "";
    GetWindowTextA(dialog.Window(), title, sizeof title);
    EXPECT_STREQ(title, "Save");
    GetDlgItemTextA(dialog.Window(), IDC_BRW_PROMPT, title, sizeof title);
    EXPECT_STREQ(title, "Save data to");
    EXPECT_TRUE(HasVisibleStyle(GetDlgItem(dialog.Window(), IDC_BRW_PATH_LABEL)));
    EXPECT_FALSE(HasVisibleStyle(GetDlgItem(dialog.Window(), IDC_BRW_FILE_LABEL)));

    // Drives at the top, without their backslash.
    const std::vector<std::string> drives = ChildTexts(tree, nullptr);
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives.front(), "C:");
    const HTREEITEM selected = TreeView_GetSelection(tree);
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(TextOf(tree, selected), "browser");
    EXPECT_EQ(TreeView_GetItemState(tree, selected, TVIS_EXPANDED) & TVIS_EXPANDED, static_cast<UINT>(TVIS_EXPANDED));

    // Read on opening: sorted, no files; only delta has something to open,
    // and that is a placeholder until it is opened.
    EXPECT_EQ(ChildTexts(tree, selected), (std::vector<std::string>{"Alpha", "beta", "delta", "Gamma"}));
    const HTREEITEM delta = ChildNamed(tree, selected, "delta");
    EXPECT_EQ(ChildTexts(tree, delta), (std::vector<std::string>{""}));
    EXPECT_TRUE(ChildTexts(tree, ChildNamed(tree, selected, "Alpha")).empty());

    // A drive gives its name without backslash.
    TreeView_SelectItem(tree, ChildNamed(tree, nullptr, "C:"));
    EXPECT_EQ(dialog.GetSelectedPath(), "C:");
    EXPECT_EQ(EditText(dialog), "C:");
}

TEST_F(FolderBrowser, OpeningAFolderReadsItAndReopeningReadsItAgain)
{
    FolderBrowserDialog dialog;
    const HWND tree = Open(dialog, folder_ / "DELTA");
    const HTREEITEM delta = TreeView_GetSelection(tree);
    ASSERT_NE(delta, nullptr);
    EXPECT_EQ(dialog.GetSelectedPath(), folder_ / "delta");
    EXPECT_EQ(ChildTexts(tree, delta), (std::vector<std::string>{"inner"}));

    // Closed by the user: a placeholder keeps the expand button.
    PressKey(tree, VK_LEFT);
    EXPECT_EQ(ChildTexts(tree, delta), (std::vector<std::string>{""}));

    // Folders made meanwhile show on the next opening.
    qztest::MakeDirectories(folder_ / "delta\\Added\\deeper");
    PressKey(tree, VK_RIGHT);
    EXPECT_EQ(ChildTexts(tree, delta), (std::vector<std::string>{"Added", "inner"}));
    EXPECT_EQ(ChildTexts(tree, ChildNamed(tree, delta, "Added")), (std::vector<std::string>{""}));

    // Selecting anew after more changes re-reads every opened folder on
    // the way, although they were opened before.
    qztest::MakeDirectories(folder_ / "Epsilon");
    qztest::MakeDirectories(folder_ / "delta\\Added\\deeper\\last");
    ASSERT_TRUE(dialog.Tree().SetSelectedPath(folder_ / "delta\\added\\DEEPER"));
    EXPECT_EQ(dialog.GetSelectedPath(), folder_ / "delta\\Added\\deeper");
    // The items on the way were made anew.
    HTREEITEM browser = TreeView_GetSelection(tree);
    for (int up = 0; up < 3; ++up)
        browser = TreeView_GetParent(tree, browser);
    EXPECT_EQ(TextOf(tree, browser), "browser");
    EXPECT_EQ(ChildTexts(tree, browser), (std::vector<std::string>{"Alpha", "beta", "delta", "Epsilon", "Gamma"}));
    EXPECT_EQ(ChildTexts(tree, TreeView_GetSelection(tree)), (std::vector<std::string>{"last"}));
}

TEST_F(FolderBrowser, PathThatCannotBeFoundSelectsNothing)
{
    for (const std::string& path : {folder_ / "missing", folder_.Path() + "\\", std::string("Q:\\nowhere"),
                                    std::string("relative\\path")}) {
        FolderBrowserDialog dialog;
        const HWND tree = Open(dialog, path);
        EXPECT_EQ(TreeView_GetSelection(tree), nullptr) << path;
        EXPECT_EQ(dialog.GetSelectedPath(), "") << path;
        EXPECT_EQ(EditText(dialog), "") << path;
    }
}

TEST_F(FolderBrowser, DoubleClickClosesWithOkAndTheSelectedPath)
{
    FolderBrowserDialog dialog;
    const HWND tree = Open(dialog, folder_ / "beta");
    const HTREEITEM beta = TreeView_GetSelection(tree);
    ASSERT_NE(beta, nullptr);
    RECT row;
    ASSERT_TRUE(TreeView_GetItemRect(tree, beta, &row, TRUE));
    const LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
    SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(tree, WM_LBUTTONUP, 0, at);
    SendMessageA(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(tree, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(dialog.EndedWith(), IDOK);
    EXPECT_EQ(dialog.GetSelectedPath(), folder_ / "beta");
}

namespace {

// Presses a button of the modal dialog as soon as it is open.
class PressingBrowser : public FolderBrowserDialog {
public:
    explicit PressingBrowser(int button) : button_(button) {}

protected:
    bool OnInitDialog() override
    {
        const bool result = FolderBrowserDialog::OnInitDialog();
        PostMessageA(Window(), WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
        return result;
    }

private:
    int button_;
};

}  // namespace

TEST_F(FolderBrowser, RunsModallyAndEndsWithTheButtonPressed)
{
    PressingBrowser ok(IDOK);
    ok.InitialPath = folder_ / "alpha";
    EXPECT_EQ(ok.RunModal(), IDOK);
    EXPECT_EQ(ok.GetSelectedPath(), folder_ / "Alpha");

    PressingBrowser cancel(IDCANCEL);
    cancel.InitialPath = folder_.Path();
    EXPECT_EQ(cancel.RunModal(), IDCANCEL);
}

TEST_F(FolderBrowser, WithoutInitialPathOpensAtTheWorkingDirectory)
{
    char saved[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof saved, saved);
    SetCurrentDirectoryA((folder_ / "delta").c_str());
    FolderBrowserDialog dialog;
    Open(dialog, "");
    SetCurrentDirectoryA(saved);
    EXPECT_EQ(dialog.GetSelectedPath(), folder_ / "delta");
}

TEST_F(FolderBrowser, FailuresAreKeptInLastError)
{
    {
        win::FailCall(win::Op::ShellFileInfo, 1, ERROR_ACCESS_DENIED);
        FolderBrowserDialog dialog;
        const HWND tree = Open(dialog, folder_.Path());
        EXPECT_EQ(dialog.Tree().LastError(), "Cannot retrieve the Handle of SystemImageList!");
        EXPECT_EQ(TreeView_GetCount(tree), 0u);
        EXPECT_EQ(dialog.GetSelectedPath(), "");
    }
    {
        win::ResetCalls();
        win::FailCall(win::Op::LogicalDrives, 1, ERROR_ACCESS_DENIED);
        FolderBrowserDialog dialog;
        const HWND tree = Open(dialog, folder_.Path());
        EXPECT_EQ(dialog.Tree().LastError(), "Error Getting Logical DriveStrings!");
        EXPECT_EQ(TreeView_GetCount(tree), 0u);
    }
    {
        // The first drive's icon cannot be had: it is left out.
        win::ResetCalls();
        win::FailCall(win::Op::ShellFileInfo, 2, ERROR_ACCESS_DENIED);
        FolderBrowserDialog dialog;
        const HWND tree = Open(dialog, folder_.Path());
        EXPECT_EQ(dialog.Tree().LastError(), "Error Gettting SystemFileInfo!");
        EXPECT_EQ(ChildNamed(tree, nullptr, "C:"), nullptr);
        EXPECT_EQ(dialog.GetSelectedPath(), "");
    }
}

TEST_F(FolderBrowser, ShellImageListOutlivesTheDialog)
{
    HIMAGELIST shown = nullptr;
    {
        FolderBrowserDialog dialog;
        const HWND tree = Open(dialog, folder_.Path());
        shown = TreeView_GetImageList(tree, TVSIL_NORMAL);
        ASSERT_NE(shown, nullptr);
    }
    int width = 0;
    int height = 0;
    EXPECT_TRUE(ImageList_GetIconSize(shown, &width, &height));
    EXPECT_GT(ImageList_GetImageCount(shown), 0);
}

TEST_F(FolderBrowser, ShownOnScreenWithTheFolderOpened)
{
    FolderBrowserDialog dialog;
    dialog.SetTitle("Save");
    dialog.Prompt = "Save data to";
    const HWND tree = Open(dialog, folder_ / "delta");
    ShowWindow(dialog.Window(), SW_SHOW);
    UpdateWindow(dialog.Window());
    EXPECT_TRUE(qztest::PumpUntilPainted(dialog.Window()));
    EXPECT_TRUE(IsWindowVisible(tree));
    EXPECT_EQ(dialog.GetSelectedPath(), folder_ / "delta");

    // A picture of the screen beside the test program, for a person to
    // look at.
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string folder = qztest::UnixPathOf(program);
    folder = folder.substr(0, folder.rfind('/')) + "/screenshots";
    qztest::RunUnix({"/bin/mkdir", "-p", folder});
    EXPECT_EQ(qztest::RunUnix({"/usr/bin/import", "-window", "root", folder + "/folder-browser.png"}), 0);
}
