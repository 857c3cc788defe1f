#include "controls/FolderListing.h"

#include "controls/FolderPaths.h"
#include "win/Files.h"

bool HasSubFolder(const std::string& path)
{
    win::DirectorySearch search(SubFolderProbePattern(path), win::NameForm::Shown);
    win::FoundEntry entry;
    while (search.Next(entry)) {
        if (IsSubFolderEntry(entry.name, entry.attributes))
            return true;
    }
    return false;
}

std::vector<std::string> ReadSubFolders(const std::string& path)
{
    const std::string folder = WithTrailingBackslash(path);
    std::vector<std::string> subFolders;
    win::DirectorySearch search(FolderListingPattern(path), win::NameForm::Shown);
    win::FoundEntry entry;
    while (search.Next(entry)) {
        if (IsSubFolderEntry(entry.name, entry.attributes))
            subFolders.push_back(folder + entry.name);
    }
    SortFoldersIgnoringCase(subFolders);
    return subFolders;
}
