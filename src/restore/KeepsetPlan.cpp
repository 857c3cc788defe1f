#include "restore/KeepsetPlan.h"

#include "restore/RestorePaths.h"
#include "win/Files.h"
#include "win/WideNames.h"

#include <windows.h>

namespace {

bool IsNotFound(unsigned long error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

void KeepsetManifest::Read(const std::string& root)
{
    path_ = KeepsetDirectory(root, std::string("\\") + kManifestFileName);
    parsed_ = ParsedManifest();
    sizesRead_ = false;
    error_ = 0;
    std::string checksums;
    if (!win::ReadWholeFile(path_, checksums)) {
        error_ = win::LastError();
        status_ = IsNotFound(error_) ? Status::Absent : Status::Unreadable;
        return;
    }
    std::string sizes;
    sizesRead_ = win::ReadWholeFile(KeepsetDirectory(root, std::string("\\") + kSizeListFileName), sizes);
    if (!sizesRead_)
        sizes.clear();
    parsed_ = ParseManifest(checksums, sizes);
    // The manifest holds its paths in UTF-8; the program compares them in
    // its own form.
    for (ManifestEntry& entry : parsed_.entries)
        entry.path = win::FromUtf8(entry.path);
    status_ = Status::Read;
}

DirectoryPlan PlanDirectory(const std::string& root, const ParsedManifest* manifest, const std::string& subDirectory,
                            const std::string& pattern, DirectoryKind kind)
{
    DirectoryPlan plan;
    plan.subDirectory = subDirectory;
    plan.pattern = pattern;
    plan.kind = kind;

    std::vector<ListedFile> listed;
    win::DirectorySearch entries(KeepsetSearch(root, subDirectory, pattern));
    win::FoundEntry entry;
    while (entries.Next(entry)) {
        plan.anyEntry = true;
        if (!IsDirectoryEntry(entry.name, entry.attributes))
            listed.push_back({entry.name, entry.size});
    }
    const std::string relative = KeepsetRelativePath(root, KeepsetDirectory(root, subDirectory));
    plan.files = PlanKeepsetDirectory(listed, manifest, relative, pattern);
    return plan;
}

bool IsRestoredName(const DirectoryPlan& plan, const std::string& name)
{
    return plan.kind != DirectoryKind::WindowsIni || IsSavedWindowsIni(name);
}
