#pragma once
// What the restore run needs from the dialog that starts it, besides the
// request: the cursor, and closing the dialog when something was restored.
// Message boxes go through win::ShowMessageBox.

class RestoreRunHost {
public:
    virtual ~RestoreRunHost() = default;
    // The wait cursor while the run copies; the arrow again at its end.
    virtual void ShowWaitCursor() = 0;
    virtual void ShowArrowCursor() = 0;
    // Ends the dialog with OK.
    virtual void CloseWithOk() = 0;
};
