#include "save/EnsureDirectory.h"

#include "config/SaveSettings.h"
#include "save/Reports.h"
#include "save/RunWarning.h"
#include "save/SaveRunText.h"
#include "win/Files.h"
#include "win/Texts.h"
#include "win/WideNames.h"
#include "resource.h"

bool EnsureDirectory(const std::string& path)
{
    if (win::EntryExists(path))
        return true;
    if (win::CreateOneDirectory(path))
        return true;
    // Whatever was to go into it is not saved: a failure line like that of
    // a file. An interactive run also stops at the box; unattended, the
    // line in the log is all there is.
    const std::string text = win::FormatText(IDS_CREATE_DIRECTORY_FAILED, win::ShownText(path));
    ReportStep(text, true);
    if (!SaveSetting(&SaveSettingsRecord::Unattended))
        RaiseRunWarning(text, win::LoadText(IDS_ERROR_CAPTION));
    return false;
}

bool CreateDirectoryLevels(const std::string& path)
{
    const std::vector<std::string> levels = DirectoryLevels(path);
    if (levels.empty())
        return win::EntryExists(path);
    for (const std::string& level : levels) {
        if (!win::EntryExists(level) && !win::CreateOneDirectory(level))
            return false;
    }
    return true;
}
