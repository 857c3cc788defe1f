#include "config/MySqlPaths.h"

#include "config/SplitPath.h"

std::string BinDirectoryFromBaseDir(const std::string& baseDir)
{
    return baseDir + ".\\bin";
}

std::string BinDirectoryFromImagePath(const std::string& imagePath)
{
    std::string program = imagePath;
    if (!program.empty() && program[0] == '"') {
        // A program path with blanks is quoted; its options follow the
        // closing quote, and a " -" inside the quotes is part of the path.
        const std::size_t closing = program.find('"', 1);
        program = program.substr(1, closing == std::string::npos ? std::string::npos : closing - 1);
    } else {
        const std::size_t options = program.find(" -");
        if (options != std::string::npos)
            program.erase(options + 1);
    }
    const PathParts parts = SplitPath(program);
    return parts.drive + parts.directory;
}

std::string DataDirectoryFromBinDirectory(const std::string& mySqlPath)
{
    if (mySqlPath.size() <= 4)
        return std::string();
    std::string serverDirectory = mySqlPath.substr(0, mySqlPath.size() - 4);
    // A path detected from a basedir ends in ".\bin", which leaves a dot
    // here; a second one would make "mysql.." or "..", which name another
    // directory or none.
    if (serverDirectory.back() == '.')
        serverDirectory.pop_back();
    return serverDirectory + ".\\data";
}

std::string DatabaseSearchPattern(const std::string& dataDirectory)
{
    return dataDirectory + ".\\*.*";
}
