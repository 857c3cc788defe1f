#pragma once
// The warning and question boxes of the program, owned by the calling
// thread's active window (none on the save run's worker thread).
#include <string>

// Exclamation icon and an OK button; returns when the box is closed.
void ShowWarning(const std::string& text, const std::string& caption);

// Question icon with Yes and No; true only for Yes.
bool AskYesNo(const std::string& text, const std::string& caption, bool noIsDefault);
