#include "win/MessageBoxes.h"

#include "win/CallCounter.h"

#include <windows.h>

#include <mutex>

namespace win {
namespace {

std::mutex handlerLock;
MessageBoxHandler currentHandler;

}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    std::lock_guard<std::mutex> guard(handlerLock);
    currentHandler = std::move(handler);
}

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style)
{
    unsigned long code = 0;
    if (InterceptCall(Op::MessageBoxShow, code))
        return 0;
    MessageBoxHandler handler;
    {
        std::lock_guard<std::mutex> guard(handlerLock);
        handler = currentHandler;
    }
    if (handler)
        return handler(text, caption, style);
    return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), style);
}

}  // namespace win
