#include "restore/RestoreDirectory.h"

#include "restore/RestorePaths.h"
#include "win/Files.h"
#include "win/Texts.h"
#include "resource.h"

int RestoreDirectory(RestoreProgress& progress, const std::string& target, const std::string& root,
                     const std::string& subDirectory, const std::string& pattern,
                     const std::string& keepWhenPresent)
{
    const std::string sourceDirectory = KeepsetDirectory(root, subDirectory);
    const std::string search = KeepsetSearch(root, subDirectory, pattern);
    win::DirectorySearch entries(search);
    win::FoundEntry entry;
    if (!entries.Next(entry)) {
        progress.WriteRestoreLog("No files found in directory: " + search);
        return 0;
    }
    int result = 0;
    do {
        if (IsDirectoryEntry(entry.name, entry.attributes))
            continue;
        const std::string source = FileInDirectory(sourceDirectory, entry.name);
        const std::string destination = FileInDirectory(target, entry.name);
        if (!keepWhenPresent.empty() && SameFileName(entry.name, keepWhenPresent) &&
            win::EntryExists(destination)) {
            progress.WriteRestoreLog("Kept the file in use: " + destination + " (not replaced by " + source + ")");
            continue;
        }
        if (win::CopyFileReplacing(source, destination)) {
            progress.WriteRestoreLog(win::FormatText(IDS_FILE_RESTORED, source, destination));
            progress.MarkRestored();
        } else {
            progress.WriteRestoreLog(win::FormatText(IDS_FILE_RESTORE_FAILED, source, destination));
            result = 1;
        }
    } while (entries.Next(entry));
    return result;
}
