#pragma once
// Message boxes. Tests answer them through a handler instead of a window.
#include <functional>
#include <string>

namespace win {

constexpr unsigned kBoxOk = 0x00;
constexpr unsigned kBoxYesNo = 0x04;
constexpr unsigned kBoxIconQuestion = 0x20;
constexpr unsigned kBoxIconWarning = 0x30;
constexpr unsigned kBoxIconInformation = 0x40;
constexpr unsigned kBoxSecondDefault = 0x100;
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

// Receives text, caption and style; returns the button pressed (kAnswer...).
using MessageBoxHandler = std::function<int(const std::string& text, const std::string& caption, unsigned style)>;

// Replaces the real boxes; an empty handler brings them back.
void SetMessageBoxHandler(MessageBoxHandler handler);

// While the program runs unattended nobody is there to close a box: every
// box goes to the sink as its text instead, and the answer is OK, or No for
// a question. An empty sink brings the boxes back.
using UnattendedBoxSink = std::function<void(const std::string& text)>;
void SetUnattendedBoxSink(UnattendedBoxSink sink);

// A modal box owned by the calling thread's box owner (BoxOwnerScope), or
// else by its active window. Wrapped names in text and caption are shown
// (and handed to a handler or sink) in their "?" form (win::ShownText).
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style);

// While it lives, the boxes of the calling thread are owned by the given
// window (a HWND): a worker thread has no window of its own, and a box
// without an owner can hide behind the main window.
class BoxOwnerScope {
public:
    explicit BoxOwnerScope(void* owner);
    ~BoxOwnerScope();
    BoxOwnerScope(const BoxOwnerScope&) = delete;
    BoxOwnerScope& operator=(const BoxOwnerScope&) = delete;

private:
    void* previous_;
};

// The window that would own a box shown now on the calling thread.
void* BoxOwner();

}  // namespace win
