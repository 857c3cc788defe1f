#include "support/TestDatabase.h"

#include "support/WineHost.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

namespace qztest {
namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

bool TestDatabaseAvailable()
{
    return !TestDatabaseSocket().empty();
}

std::string TestDatabaseSocket()
{
    return Environment("QZ_TEST_DB_SOCKET");
}

int RunSql(const std::string& statements)
{
    return RunUnix({"/usr/bin/mysql", "--no-defaults", "--socket=" + TestDatabaseSocket(), "-uroot",
                    "-e", statements});
}

std::string QuerySql(const std::string& query)
{
    // The Linux client writes into a file of the scratch area, read back here.
    const std::string file = "C:\\qztest\\query-result.txt";
    MakeDirectories("C:\\qztest");
    const std::string unixFile = UnixPathOf(file);
    RunUnix({"/bin/sh", "-c",
             "/usr/bin/mysql --no-defaults --socket=\"$1\" -uroot -N -B -e \"$2\" > \"$3\"", "sh",
             TestDatabaseSocket(), query, unixFile});
    std::string result = ReadFileText(file);
    DeleteFileA(file.c_str());
    return result;
}

std::vector<std::string> FolderEntries(const std::string& folder, const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> SafetyDumps(const std::string& dataFolder, const std::string& database)
{
    return FolderEntries(dataFolder, database + ".*.bkp");
}

std::vector<std::string> RestoreWorkFolders()
{
    char temporary[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temporary, temporary);
    std::vector<std::string> folders = FolderEntries(temporary, "qzkeepset-restore-*");
    for (std::string& folder : folders)
        folder = temporary + folder;
    return folders;
}

std::string BridgeDirectory()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of('\\')) + "\\bridge";
}

}  // namespace qztest
