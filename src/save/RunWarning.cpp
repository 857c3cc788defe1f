#include "save/RunWarning.h"

#include "config/SaveSettings.h"
#include "save/Reports.h"
#include "save/UserPrompts.h"

void RaiseRunWarning(const std::string& text, const std::string& caption)
{
    if (!SaveSetting(&SaveSettingsRecord::Unattended)) {
        ShowWarning(text, caption);
        return;
    }
    std::string line = text;
    for (char& c : line) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    WriteLogLine(line);
}
