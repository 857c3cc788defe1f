#pragma once
// Waiting on this thread for a state of its own windows: messages are
// handled meanwhile, so the windows keep working while a test waits.
#include <windows.h>

#include <functional>

namespace qztest {

// Handles this thread's messages until the condition holds; false when it
// still does not after the time limit.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds = 20000);

// Until the window and its children have painted everything and no message
// but timers waits: what a screenshot or a look at the window then sees is
// what it settled on.
bool PumpUntilPainted(HWND window, DWORD timeoutMilliseconds = 20000);

}  // namespace qztest
