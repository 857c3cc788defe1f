#include "win/Dialog.h"

#include "win/Texts.h"

#include <vector>

namespace win {
namespace {

// The dialog whose window is being made on this thread. Its procedure
// takes it at its first message, so that messages sent before
// WM_INITDIALOG (WM_MEASUREITEM of the controls) reach the object too.
thread_local Dialog* dialogBeingMade = nullptr;

// The tree and list-view classes must be registered before a template that
// uses them is opened.
void RegisterCommonControls()
{
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
}

// Messages whose result the dialog procedure returns itself; every other
// result goes through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message)
{
    switch (message) {
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_VKEYTOITEM:
        return true;
    default:
        return false;
    }
}

}  // namespace

Dialog::Dialog(unsigned templateId, HWND owner) : templateId_(templateId), owner_(owner) {}

Dialog::~Dialog()
{
    if (window_ != nullptr && modeless_)
        DestroyWindow(window_);
}

INT_PTR Dialog::RunModal()
{
    RegisterCommonControls();
    modeless_ = false;
    dialogBeingMade = this;
    const INT_PTR result = DialogBoxParamA(static_cast<HINSTANCE>(ResourceModule()), MAKEINTRESOURCEA(templateId_),
                                           owner_, DialogProcedure, reinterpret_cast<LPARAM>(this));
    dialogBeingMade = nullptr;
    return result;
}

bool Dialog::Create()
{
    RegisterCommonControls();
    modeless_ = true;
    endedWith_ = 0;
    dialogBeingMade = this;
    CreateDialogParamA(static_cast<HINSTANCE>(ResourceModule()), MAKEINTRESOURCEA(templateId_), owner_,
                       DialogProcedure, reinterpret_cast<LPARAM>(this));
    dialogBeingMade = nullptr;
    return window_ != nullptr;
}

void Dialog::EndDialog(INT_PTR result)
{
    endedWith_ = result;
    // A modeless dialog may be ended from inside a control's notification:
    // its window goes away with the object, not under the control's feet.
    if (modeless_)
        ShowWindow(window_, SW_HIDE);
    else
        ::EndDialog(window_, result);
}

std::string Dialog::ItemText(int id) const
{
    const HWND item = Item(id);
    std::vector<char> buffer(static_cast<std::size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    const int length = GetWindowTextA(item, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

bool Dialog::OnCommand(int notifyCode, int id, HWND)
{
    if (notifyCode == BN_CLICKED)
        return OnButtonClicked(id);
    return false;
}

bool Dialog::OnButtonClicked(int id)
{
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool Dialog::OnNotify(int, const NMHDR&, LRESULT&)
{
    return false;
}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

void Dialog::AnswerAheadOfDialogManager(UINT message)
{
    if (window_ == nullptr || dialogManagerProcedure_ != nullptr)
        return;
    aheadMessage_ = message;
    dialogManagerProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AheadProcedure)));
}

LRESULT CALLBACK Dialog::AheadProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    // The object is gone only after WM_NCDESTROY, which gives the window
    // back to the dialog manager; without it nothing can be answered.
    if (dialog == nullptr || dialog->dialogManagerProcedure_ == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    const WNDPROC dialogManager = dialog->dialogManagerProcedure_;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(dialogManager));
        dialog->dialogManagerProcedure_ = nullptr;
    } else if (message == dialog->aheadMessage_) {
        // Nothing thrown may reach the window manager.
        try {
            LRESULT result = 0;
            if (dialog->OnMessage(message, wParam, lParam, result))
                return result;
        } catch (...) {
            return 0;
        }
    }
    return CallWindowProcA(dialogManager, window, message, wParam, lParam);
}

INT_PTR CALLBACK Dialog::DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (dialog == nullptr) {
        dialog = message == WM_INITDIALOG ? reinterpret_cast<Dialog*>(lParam) : dialogBeingMade;
        if (dialog == nullptr)
            return FALSE;
        dialogBeingMade = nullptr;
        dialog->window_ = window;
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
    }
    // Nothing thrown may reach the window manager.
    try {
        return dialog->Dispatch(message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    bool handled = false;
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
        handled = OnCommand(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        break;
    case WM_NOTIFY:
        handled = OnNotify(static_cast<int>(wParam), *reinterpret_cast<const NMHDR*>(lParam), result);
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrA(window_, DWLP_USER, 0);
        window_ = nullptr;
        break;
    default:
        handled = OnMessage(message, wParam, lParam, result);
        break;
    }
    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(message))
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace win
