#include "save/EnsureDirectory.h"

#include "save/RunWarning.h"
#include "save/SaveRunText.h"
#include "win/Files.h"
#include "win/Texts.h"
#include "resource.h"

bool EnsureDirectory(const std::string& path)
{
    if (win::EntryExists(path))
        return true;
    if (win::CreateOneDirectory(path))
        return true;
    RaiseRunWarning(win::FormatText(IDS_CREATE_DIRECTORY_FAILED, path), win::LoadText(IDS_ERROR_CAPTION));
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
