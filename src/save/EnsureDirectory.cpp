#include "save/EnsureDirectory.h"

#include "save/RunWarning.h"
#include "win/Files.h"
#include "win/Texts.h"

namespace {

constexpr unsigned kTextErrorCaption = 102;              // "Error !"
constexpr unsigned kTextCreateDirectoryFailed = 103;     // "Failed to create directory %1 !"

}  // namespace

bool EnsureDirectory(const std::string& path)
{
    if (win::EntryExists(path))
        return true;
    if (win::CreateOneDirectory(path))
        return true;
    RaiseRunWarning(win::FormatText(kTextCreateDirectoryFailed, path), win::LoadText(kTextErrorCaption));
    return false;
}
