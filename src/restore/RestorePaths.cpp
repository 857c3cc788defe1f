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

bool IsSafeAdditionalPath(const std::string& value)
{
    const auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
    std::string::size_type start = 0;
    if (value.size() >= 3 && std::isalpha(static_cast<unsigned char>(value[0])) && value[1] == ':' &&
        isSeparator(value[2]))
        start = 3;
    else if (value.size() >= 3 && isSeparator(value[0]) && isSeparator(value[1]) && !isSeparator(value[2]))
        start = 2;
    else
        return false;
    const std::string::size_type lastSeparator = value.find_last_of("\\/");
    std::string part;
    int parts = 0;
    for (std::string::size_type i = start; i <= value.size(); ++i) {
        if (i < value.size() && !isSeparator(value[i])) {
            part += value[i];
            continue;
        }
        if (!part.empty()) {
            ++parts;
            if (part.find_first_not_of(". ") == std::string::npos)
                return false;
            if (i <= lastSeparator && part.find_first_of("*?") != std::string::npos)
                return false;
        } else if (start == 2 && parts < 2) {
            return false;  // a share path needs its server and its share
        }
        part.clear();
    }
    return start == 3 || parts >= 2;
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
