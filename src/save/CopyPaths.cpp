#include "save/CopyPaths.h"

#include <algorithm>

std::string JoinPath(const std::string& directory, const std::string& name)
{
    return directory + "\\" + name;
}

std::string JoinPathDotted(const std::string& directory, const std::string& name)
{
    return directory + ".\\" + name;
}

namespace {

// The path up to and including its last backslash, looked for from the end
// down to the second character; the whole path when there is none.
std::string DirectoryOfPattern(const std::string& path)
{
    for (std::size_t i = path.size(); i-- > 1;) {
        if (path[i] == '\\')
            return path.substr(0, i + 1);
    }
    return path;
}

}  // namespace

AdditionalDirectoryPaths WorkOutAdditionalDirectory(const std::string& path, const std::string& saveDir)
{
    AdditionalDirectoryPaths paths;
    if (!path.empty() && path.back() == '\\') {
        paths.pattern = path + "*.*";
        paths.sourceDirectory = path;
    } else if (path.find('.') != std::string::npos) {
        paths.pattern = path;
        paths.sourceDirectory = DirectoryOfPattern(path);
    } else {
        paths.pattern = path + "\\*.*";
        paths.sourceDirectory = path;
    }
    paths.mirror = JoinPathDotted(saveDir, PathWithoutRoot(paths.sourceDirectory));
    return paths;
}

std::string PathWithoutRoot(const std::string& directory)
{
    const std::size_t rootLength = directory.size() >= 2 && directory[1] == ':' ? 3 : 1;
    return directory.substr(std::min(rootLength, directory.size()));
}

std::vector<std::string> MirrorLevels(const std::string& mirror, std::size_t saveDirLength)
{
    std::vector<std::string> levels;
    for (std::size_t position = saveDirLength + 2; position <= mirror.size(); ++position) {
        if (position == mirror.size() || mirror[position] == '\\')
            levels.push_back(mirror.substr(0, position + (position == mirror.size() ? 0 : 1)));
    }
    return levels;
}
