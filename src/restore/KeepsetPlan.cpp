#include "restore/KeepsetPlan.h"

#include "restore/RestorePaths.h"
#include "win/Files.h"

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
    plan.searchError = entries.Error();
    const std::string relative = KeepsetRelativePath(root, KeepsetDirectory(root, subDirectory));
    plan.files = PlanKeepsetDirectory(listed, manifest, relative, pattern);
    return plan;
}

bool IsRestoredName(const DirectoryPlan& plan, const std::string& name)
{
    return plan.kind != DirectoryKind::WindowsIni || IsSavedWindowsIni(name);
}
