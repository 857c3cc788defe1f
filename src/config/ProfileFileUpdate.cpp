#include "config/ProfileFileUpdate.h"

#include "config/ConfigFile.h"
#include "win/Files.h"
#include "win/NewFiles.h"
#include "win/Profile.h"

#include <vector>

namespace {

// Recursive, so that a group of writes may hold an update of another file
// (the keepset record holds the configuration file and the record file).
std::recursive_mutex& UpdateTurns()
{
    static std::recursive_mutex turns;
    return turns;
}

constexpr std::size_t kWindowsDirectoryLength = 259;

}  // namespace

std::string ProfileFilePath(const std::string& file)
{
    if (file.find_first_of("\\/:") != std::string::npos)
        return file;
    const std::string windows = win::WindowsDirectory(kWindowsDirectoryLength);
    return windows.empty() ? std::string() : windows + "\\" + file;
}

ProfileFileUpdate::ProfileFileUpdate(const std::string& file, Start start)
    : turn_(UpdateTurns()), lock_(kUpdateLockName), path_(ProfileFilePath(file))
{
    locked_ = lock_.Lock(kUpdateLockWait);
    if (path_.empty() || !locked_) {
        failed_ = true;
        return;
    }
    std::string content;
    if (start == Start::FromFile && !win::ReadWholeFile(path_, content)) {
        // A file that is there but cannot be read must not be replaced by a
        // copy without its keys.
        if (!win::LastErrorIsNotFound()) {
            failed_ = true;
            return;
        }
        content.clear();
    }
    failed_ = !win::WriteNewFileBeside(path_, content, copy_) || !ReadImage(copy_, expected_);
}

ProfileFileUpdate::~ProfileFileUpdate()
{
    if (!committed_ && !copy_.empty()) {
        win::ForgetProfileFile(copy_);
        win::RemoveFile(copy_);
    }
    if (locked_)
        lock_.Unlock();
}

void ProfileFileUpdate::Write(const std::string& section, const std::string& key, const std::string& value)
{
    if (failed_ || committed_)
        return;
    expected_.Set(section, key, value);
    if (!win::WriteProfileValue(copy_, section, key, value))
        failed_ = true;
}

bool ProfileFileUpdate::Commit()
{
    if (failed_ || committed_)
        return !failed_ && committed_;
    // The copy is read back from the disk: the profile functions may report
    // success for a write the disk did not take in full.
    win::ForgetProfileFile(copy_);
    ProfileImage written;
    failed_ = !ReadImage(copy_, written) || !written.SameAs(expected_) || !win::FlushFileToDisk(copy_);
    win::ForgetProfileFile(copy_);
    // The system refuses to replace a read-only file; the update says so
    // itself too, for file systems that would let the move through. A file
    // the system could not look at is not replaced either.
    const unsigned long attributes = win::FileAttributes(path_);
    if (attributes == win::kInvalidAttributes ? !win::LastErrorIsNotFound()
                                              : (attributes & win::kAttributeReadOnly) != 0)
        failed_ = true;
    if (!failed_)
        failed_ = !win::ReplaceKeepingProtection(copy_, path_);
    committed_ = !failed_;
    return committed_;
}

bool ProfileFileUpdate::ReadImage(const std::string& file, ProfileImage& image) const
{
    std::vector<std::string> names;
    if (!win::ReadProfileSectionNames(file, names))
        return false;
    for (const std::string& name : names) {
        std::vector<std::string> lines;
        if (!win::ReadProfileSection(file, name, lines))
            return false;
        image.AddSection(name, lines);
    }
    return true;
}

bool WriteConfigValue(const char* section, const char* key, const std::string& value)
{
    ProfileFileUpdate update(kConfigFile);
    update.Write(section, key, value);
    return update.Commit();
}
