#include "save/UserPrompts.h"

#include "win/MessageBoxes.h"

void ShowWarning(const std::string& text, const std::string& caption)
{
    win::ShowMessageBox(text, caption, win::kBoxOk | win::kBoxIconWarning);
}

bool AskYesNo(const std::string& text, const std::string& caption, bool noIsDefault)
{
    unsigned style = win::kBoxYesNo | win::kBoxIconQuestion;
    if (noIsDefault)
        style |= win::kBoxSecondDefault;
    return win::ShowMessageBox(text, caption, style) == win::kAnswerYes;
}
