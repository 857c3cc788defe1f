#include "support/MessagePump.h"

namespace qztest {
namespace {

BOOL CALLBACK FindUpdateRegion(HWND window, LPARAM found)
{
    if (GetUpdateRect(window, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

bool HasUpdateRegion(HWND window)
{
    bool found = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    if (!found)
        EnumChildWindows(window, FindUpdateRegion, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (condition())
            break;
        if (GetTickCount() - start > timeoutMilliseconds)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

bool PumpUntilPainted(HWND window, DWORD timeoutMilliseconds)
{
    return PumpUntil(
        [window] {
            RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            return HIWORD(GetQueueStatus(QS_ALLINPUT & ~QS_TIMER)) == 0 && !HasUpdateRegion(window);
        },
        timeoutMilliseconds);
}

}  // namespace qztest
