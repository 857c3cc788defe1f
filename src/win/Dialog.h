#pragma once
// The base of every dialog: a dialog template of the resource module, one
// dialog procedure that finds the object and hands each message to a
// virtual handler, and one-line helpers for the dialog's items.
//
// A dialog is a data-in/data-out object: the caller sets its members, runs
// it modally, reads its members back.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace win {

class Dialog {
public:
    // templateId: the dialog resource; owner: the window it belongs to.
    explicit Dialog(unsigned templateId, HWND owner = nullptr);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog modally from the resource module; the value given to
    // EndDialog (IDOK, IDCANCEL), or -1 when it could not be opened.
    INT_PTR RunModal();

    // Opens it modeless (the tests drive dialogs this way). EndDialog then
    // hides the window and keeps the value for EndedWith; the window is
    // destroyed with the object.
    bool Create();
    INT_PTR EndedWith() const { return endedWith_; }

    HWND Window() const { return window_; }

protected:
    // Handlers; each returns true when it handled the message.
    // OnInitDialog: true lets the system give the focus to the first item.
    virtual bool OnInitDialog() { return true; }
    // WM_COMMAND; clicks go on to OnButtonClicked.
    virtual bool OnCommand(int notifyCode, int id, HWND control);
    // Button clicks; IDOK and IDCANCEL go on to OnOK and OnCancel.
    virtual bool OnButtonClicked(int id);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual bool OnNotify(int id, const NMHDR& header, LRESULT& result);
    virtual void OnDestroy() {}
    // Every other message (WM_USER+n, WM_SETCURSOR, WM_SYSCOMMAND,
    // WM_PAINT, WM_DRAWITEM, WM_MEASUREITEM, ...). WM_MEASUREITEM of fixed
    // height controls comes before OnInitDialog.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    void EndDialog(INT_PTR result);

    // Has OnMessage answer this message ahead of the dialog manager, which
    // would otherwise store every result in the window's extra bytes, a
    // round trip through the system each. For a message sent many times a
    // second from another thread (the report lines of a save run). Call it
    // once the window exists (OnInitDialog).
    void AnswerAheadOfDialogManager(UINT message);

    HWND Item(int id) const { return GetDlgItem(window_, id); }
    LRESULT SendItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendDlgItemMessageA(window_, id, message, wParam, lParam);
    }
    void SetItemText(int id, const std::string& text) { SetDlgItemTextA(window_, id, text.c_str()); }
    std::string ItemText(int id) const;
    void EnableItem(int id, bool enable = true) { EnableWindow(Item(id), enable ? TRUE : FALSE); }
    void ShowItem(int id, bool show = true) { ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE); }
    void CheckButton(int id, bool check = true) { CheckDlgButton(window_, id, check ? BST_CHECKED : BST_UNCHECKED); }
    bool IsButtonChecked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }
    void SetWindowTitle(const std::string& title) { SetWindowTextA(window_, title.c_str()); }

private:
    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK AheadProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    unsigned templateId_;
    UINT aheadMessage_ = 0;
    WNDPROC dialogManagerProcedure_ = nullptr;
    HWND owner_;
    HWND window_ = nullptr;
    bool modeless_ = false;
    INT_PTR endedWith_ = 0;
};

}  // namespace win
