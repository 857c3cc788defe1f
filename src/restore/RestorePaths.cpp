#include "restore/RestorePaths.h"

#include "config/SplitPath.h"

#include <cctype>

std::string KeepsetDirectory(const std::string& root, const std::string& subDirectory)
{
    return root + "." + subDirectory;
}

std::string KeepsetSearch(const std::string& root, const std::string& subDirectory, const std::string& pattern)
{
    return KeepsetDirectory(root, subDirectory) + ".\\" + (pattern.empty() ? std::string("*.*") : pattern);
}

std::string FileInDirectory(const std::string& directory, const std::string& name)
{
    return directory + "\\" + name;
}

AdditionalEntry AdditionalEntryOf(const std::string& value)
{
    const PathParts parts = SplitPath(value);
    AdditionalEntry entry;
    if (parts.fileName.empty() && parts.extension.empty()) {
        entry.subDirectory = parts.directory;
        entry.target = value;
    } else if (parts.extension.empty()) {
        entry.subDirectory = parts.directory + parts.fileName;
        entry.target = value;
    } else {
        entry.subDirectory = parts.directory;
        entry.pattern = parts.fileName + parts.extension;
        // C:\data\ names the directory C:\data; a bare "\" stays the root.
        std::string directory = parts.directory;
        if (directory.size() > 1)
            directory.pop_back();
        entry.target = parts.drive + directory;
    }
    return entry;
}

bool IsDirectoryEntry(const std::string& name, unsigned long attributes)
{
    if (name == "." || name == "..")
        return true;
    return attributes == 16 || attributes == 48 || attributes == 17;
}

bool SameFileName(const std::string& first, const std::string& second)
{
    if (first.size() != second.size())
        return false;
    for (std::string::size_type i = 0; i < first.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(first[i])) != std::tolower(static_cast<unsigned char>(second[i])))
            return false;
    }
    return true;
}
