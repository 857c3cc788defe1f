#include "keepset/ManifestFormat.h"

#include "config/LowerCase.h"

#include <cstddef>

namespace {

bool IsLowerHex(const std::string& text)
{
    if (text.size() != 64)
        return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

// Splits "<field><two blanks><path>" at the first two blanks. The path may
// itself hold blanks; a line end of CR LF loses its CR.
bool SplitLine(std::string line, std::string& field, std::string& path)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    const std::size_t gap = line.find("  ");
    if (gap == std::string::npos || gap == 0 || gap + 2 >= line.size())
        return false;
    field = line.substr(0, gap);
    path = line.substr(gap + 2);
    return true;
}

bool ParseSize(const std::string& text, std::uint64_t& size)
{
    if (text.empty() || text.size() > 19)
        return false;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    size = value;
    return true;
}

template <typename Visit>
void ForEachLine(const std::string& text, Visit visit)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        visit(text.substr(start, end - start));
        start = end + 1;
    }
}

// The components of a path as the file system reads them: empty ones and
// "." dropped, trailing dots and blanks of each component removed; ".."
// kept, so that a caller can refuse a path that climbs out.
std::vector<std::string> Components(const std::string& path)
{
    std::vector<std::string> parts;
    std::string part;
    auto flush = [&]() {
        if (part == "..") {
            parts.push_back(part);
            part.clear();
            return;
        }
        while (!part.empty() && (part.back() == '.' || part.back() == ' '))
            part.pop_back();
        if (!part.empty())
            parts.push_back(part);
        part.clear();
    };
    for (char c : path) {
        if (c == '\\' || c == '/')
            flush();
        else
            part += c;
    }
    flush();
    return parts;
}

}  // namespace

std::string FormatManifest(const std::vector<ManifestEntry>& entries)
{
    std::string text;
    for (const ManifestEntry& entry : entries)
        text += entry.sha256 + "  " + entry.path + "\n";
    return text;
}

std::string FormatSizeList(const std::vector<ManifestEntry>& entries)
{
    std::string text;
    for (const ManifestEntry& entry : entries)
        text += std::to_string(entry.size) + "  " + entry.path + "\n";
    return text;
}

bool ParseChecksumLine(const std::string& line, std::string& digest, std::string& path)
{
    return SplitLine(line, digest, path) && IsLowerHex(digest);
}

bool ParseSizeLine(const std::string& line, std::uint64_t& size, std::string& path)
{
    std::string field;
    return SplitLine(line, field, path) && ParseSize(field, size);
}

ParsedManifest ParseManifest(const std::string& checksums, const std::string& sizes)
{
    ParsedManifest parsed;
    ForEachLine(checksums, [&](const std::string& line) {
        std::string digest;
        std::string path;
        if (line.empty() || line == "\r")
            return;
        if (!ParseChecksumLine(line, digest, path)) {
            ++parsed.malformedLines;
            return;
        }
        ManifestEntry entry;
        entry.path = path;
        entry.sha256 = digest;
        parsed.entries.push_back(entry);
    });
    ForEachLine(sizes, [&](const std::string& line) {
        std::string path;
        std::uint64_t size = 0;
        if (line.empty() || line == "\r")
            return;
        if (!ParseSizeLine(line, size, path)) {
            ++parsed.malformedLines;
            return;
        }
        for (ManifestEntry& entry : parsed.entries) {
            if (!entry.sizeKnown && SameKeepsetPath(entry.path, path)) {
                entry.size = size;
                entry.sizeKnown = true;
                break;
            }
        }
    });
    return parsed;
}

std::string KeepsetRelativePath(const std::string& keepsetDirectory, const std::string& file)
{
    const std::vector<std::string> base = Components(keepsetDirectory);
    const std::vector<std::string> full = Components(file);
    if (full.size() <= base.size())
        return "";
    // A directory given as "\\server\share" keeps its leading separators
    // out of the components; both paths must agree on that too.
    const bool baseUnc = keepsetDirectory.rfind("\\\\", 0) == 0;
    const bool fileUnc = file.rfind("\\\\", 0) == 0;
    if (baseUnc != fileUnc)
        return "";
    for (std::size_t i = 0; i < base.size(); ++i)
        if (LowerCase(base[i]) != LowerCase(full[i]))
            return "";
    std::string relative;
    for (std::size_t i = base.size(); i < full.size(); ++i) {
        if (full[i] == "..")
            return "";
        if (!relative.empty())
            relative += '\\';
        relative += full[i];
    }
    return relative;
}

bool SameKeepsetPath(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && LowerCase(a) == LowerCase(b);
}
