#include "controls/FolderPaths.h"

#include <algorithm>

namespace {

constexpr unsigned long kDirectoryAttribute = 0x10;

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::string WithTrailingBackslash(const std::string& path)
{
    if (!path.empty() && path.back() == '\\')
        return path;
    return path + '\\';
}

std::string WithoutTrailingBackslash(const std::string& path)
{
    if (!path.empty() && path.back() == '\\')
        return path.substr(0, path.size() - 1);
    return path;
}

bool IsDriveRoot(const std::string& path)
{
    return path.size() == 3 && path[1] == ':' && path[2] == '\\';
}

std::string SubFolderProbePattern(const std::string& path)
{
    return IsDriveRoot(path) ? path + "*.*" : path + "\\*.*";
}

std::string FolderListingPattern(const std::string& path)
{
    return WithTrailingBackslash(path) + "*.*";
}

bool IsSubFolderEntry(const std::string& name, unsigned long attributes)
{
    return (attributes & kDirectoryAttribute) != 0 && name != "." && name != "..";
}

std::string FolderItemText(const std::string& path, bool topLevel)
{
    if (topLevel)
        return path;
    const std::size_t last = path.rfind('\\');
    return last == std::string::npos ? path : path.substr(last + 1);
}

std::string JoinItemTexts(const std::vector<std::string>& textsFromTop)
{
    std::string path;
    for (const auto& text : textsFromTop)
        path += text + '\\';
    return WithoutTrailingBackslash(path);
}

std::vector<std::string> UpperCaseComponents(const std::string& path)
{
    std::vector<std::string> components;
    const std::string upper = UpperCased(path);
    std::size_t start = 0;
    while (start <= upper.size()) {
        std::size_t end = upper.find('\\', start);
        if (end == std::string::npos)
            end = upper.size();
        if (end > start)
            components.push_back(upper.substr(start, end - start));
        start = end + 1;
    }
    return components;
}

std::string UpperCased(const std::string& text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), UpperAscii);
    return upper;
}

int CompareIgnoringCase(const std::string& a, const std::string& b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(LowerAscii(a[i]));
        const auto y = static_cast<unsigned char>(LowerAscii(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && CompareIgnoringCase(text.substr(0, prefix.size()), prefix) == 0;
}

void SortFoldersIgnoringCase(std::vector<std::string>& paths)
{
    // A stable sort gives the order of repeated neighbour swaps (equal
    // names keep their order) without their cost in large folders.
    std::stable_sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
        return CompareIgnoringCase(a, b) < 0;
    });
}
