#include "save/ClientOptionFile.h"

#include "save/ClientOptionText.h"
#include "win/Files.h"
#include "win/Process.h"
#include "win/TemporaryFiles.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// The files of this process, for its end: the save run's worker thread makes
// and deletes them, the user-interface thread may end the program meanwhile.
struct FilesInUse {
    std::mutex lock;
    std::vector<std::string> paths;
    bool ending = false;
};

FilesInUse& InUse()
{
    static FilesInUse files;
    return files;
}

// A refused delete is tried again for a moment: the client may not have let
// go of the file at the very moment it ended, or still be reading it.
bool RemoveWithPatience(const std::string& path, int attempts)
{
    for (int attempt = 1;; ++attempt) {
        if (win::RemoveFile(path) || (win::LastErrorIsNotFound() && !win::EntryExists(path)))
            return true;
        if (attempt >= attempts)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

}  // namespace

ClientOptionFile::~ClientOptionFile()
{
    Remove();
}

bool ClientOptionFile::Create(const std::string& password)
{
    Remove();
    FilesInUse& files = InUse();
    std::lock_guard<std::mutex> guard(files.lock);
    if (files.ending)
        return false;
    if (!win::WritePrivateTemporaryFile(kClientOptionFilePrefix, kClientOptionFileExtension,
                                        ClientOptionFileText(password), path_))
        return false;
    files.paths.push_back(path_);
    return true;
}

bool ClientOptionFile::Remove()
{
    if (path_.empty())
        return true;
    FilesInUse& files = InUse();
    std::lock_guard<std::mutex> guard(files.lock);
    const auto listed = std::find(files.paths.begin(), files.paths.end(), path_);
    // Gone already when the program's end took it.
    if (listed == files.paths.end()) {
        path_.clear();
        return true;
    }
    if (!RemoveWithPatience(path_, 2))
        return false;
    files.paths.erase(listed);
    path_.clear();
    return true;
}

bool RemoveClientOptionFilesInUse()
{
    FilesInUse& files = InUse();
    std::lock_guard<std::mutex> guard(files.lock);
    files.ending = true;
    bool allGone = true;
    for (const std::string& path : files.paths)
        allGone = RemoveWithPatience(path, 30) && allGone;
    files.paths.clear();
    return allGone;
}

void AllowClientOptionFilesAgain()
{
    FilesInUse& files = InUse();
    std::lock_guard<std::mutex> guard(files.lock);
    files.ending = false;
}

int RemoveStaleClientOptionFiles()
{
    const std::string directory = win::TemporaryDirectory();
    if (directory.empty())
        return 0;
    std::vector<std::string> stale;
    win::DirectorySearch search(directory + "qzk*" + kClientOptionFileExtension);
    win::FoundEntry entry;
    while (search.Next(entry)) {
        unsigned long processId = 0;
        if ((entry.attributes & win::kAttributeDirectory) != 0 || !ClientOptionFileProcessId(entry.name, processId))
            continue;
        // This process has made none yet: a name with its id is an earlier
        // process's that had the same id.
        if (processId == win::CurrentProcessId() || !win::ProcessIsRunning(processId))
            stale.push_back(directory + entry.name);
    }
    int removed = 0;
    for (const std::string& path : stale)
        removed += win::RemoveFile(path) ? 1 : 0;
    return removed;
}
