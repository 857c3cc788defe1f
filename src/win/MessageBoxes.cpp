#include "win/MessageBoxes.h"

#include "win/CallCounter.h"
#include "win/WideNames.h"

#include <windows.h>

#include <mutex>

namespace win {
namespace {

std::mutex handlerLock;
MessageBoxHandler currentHandler;
thread_local HWND threadBoxOwner = nullptr;
UnattendedBoxSink currentSink;

}  // namespace

BoxOwnerScope::BoxOwnerScope(void* owner) : previous_(threadBoxOwner)
{
    threadBoxOwner = static_cast<HWND>(owner);
}

BoxOwnerScope::~BoxOwnerScope()
{
    threadBoxOwner = static_cast<HWND>(previous_);
}

void* BoxOwner()
{
    return threadBoxOwner != nullptr ? threadBoxOwner : GetActiveWindow();
}

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    std::lock_guard<std::mutex> guard(handlerLock);
    currentHandler = std::move(handler);
}

void SetUnattendedBoxSink(UnattendedBoxSink sink)
{
    std::lock_guard<std::mutex> guard(handlerLock);
    currentSink = std::move(sink);
}

int ShowMessageBox(const std::string& wrappedText, const std::string& wrappedCaption, unsigned style)
{
    // A name the code page cannot carry is shown in its "?" form: its
    // wrapping characters are no text for a reader.
    const std::string text = ShownText(wrappedText);
    const std::string caption = ShownText(wrappedCaption);
    MessageBoxHandler handler;
    UnattendedBoxSink sink;
    {
        std::lock_guard<std::mutex> guard(handlerLock);
        handler = currentHandler;
        sink = currentSink;
    }
    if (sink) {
        sink(text);
        return (style & 0x0F) == kBoxYesNo ? kAnswerNo : kAnswerOk;
    }
    unsigned long code = 0;
    if (InterceptCall(Op::MessageBoxShow, code))
        return 0;
    if (handler)
        return handler(text, caption, style);
    return MessageBoxA(static_cast<HWND>(BoxOwner()), text.c_str(), caption.c_str(), style);
}

}  // namespace win
