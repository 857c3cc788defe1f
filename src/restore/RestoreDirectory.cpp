#include "restore/RestoreDirectory.h"

#include "restore/RestorePaths.h"
#include "win/Files.h"
#include "win/Texts.h"
#include "resource.h"

bool ReportedSearchFailure(RestoreProgress& progress, const win::DirectorySearch& search,
                           const std::string& directory)
{
    if (!search.Failed())
        return false;
    progress.WriteRestoreLog(
        win::FormatText(IDS_RESTORE_DIRECTORY_READ_FAILED, directory, std::to_string(search.Error())));
    return true;
}

int RestoreDirectory(RestoreProgress& progress, const std::string& target, const std::string& root,
                     const std::string& subDirectory, const std::string& pattern,
                     const std::string& keepWhenPresent)
{
    const std::string sourceDirectory = KeepsetDirectory(root, subDirectory);
    const std::string search = KeepsetSearch(root, subDirectory, pattern);
    win::DirectorySearch entries(search);
    win::FoundEntry entry;
    if (!entries.Next(entry)) {
        if (ReportedSearchFailure(progress, entries, sourceDirectory))
            return 1;
        progress.WriteRestoreLog("No files found in directory: " + search);
        return 0;
    }
    int result = 0;
    do {
        if (IsDirectoryEntry(entry.name, entry.attributes))
            continue;
        const std::string source = FileInDirectory(sourceDirectory, entry.name);
        const std::string destination = FileInDirectory(target, entry.name);
        if (!keepWhenPresent.empty() && SameFileName(entry.name, keepWhenPresent)) {
            if (win::EntryExists(destination)) {
                progress.WriteRestoreLog("Kept the file in use: " + destination + " (not replaced by " + source + ")");
                continue;
            }
            // Put back only where the system says there is none.
            if (!win::LastErrorIsNotFound()) {
                progress.WriteRestoreLog(win::FormatText(IDS_FILE_RESTORE_FAILED, source, destination));
                result = 1;
                continue;
            }
        }
        if (win::CopyFileReplacing(source, destination)) {
            progress.WriteRestoreLog(win::FormatText(IDS_FILE_RESTORED, source, destination));
            progress.MarkRestored();
        } else {
            progress.WriteRestoreLog(win::FormatText(IDS_FILE_RESTORE_FAILED, source, destination));
            result = 1;
        }
    } while (entries.Next(entry));
    if (ReportedSearchFailure(progress, entries, sourceDirectory))
        result = 1;
    return result;
}
