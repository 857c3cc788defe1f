#pragma once
// One group of writes to an ini file, made whole or not at all. The update
// copies the file to a name beside it (or starts empty), the profile
// functions write the keys into that copy by its full path, and Commit
// moves the copy over the file in one step. Until then the file is
// untouched: a full disk, a failed write or a killed process leaves it as
// it was. An update that is not committed removes its copy.
//
// The copy has a name of its own for each update, made anew (never a file
// or folder found under that name), and the file keeps its access list and
// attributes when the copy replaces it (win/NewFiles.h).
//
// Updates take turns, within the process and across processes (the window
// and a scheduled save in another session): the one that begins waits
// until the one at work has committed or gone, so that no update replaces
// the file with a copy taken before another's keys were in it. Across
// processes it waits kUpdateLockWait at most and then fails: the file
// stays as the other left it.
#include "config/ProfileImage.h"
#include "win/SharedMutex.h"

#include <memory>
#include <mutex>
#include <string>

// The mutex every update holds, shared by all sessions.
constexpr const char* kUpdateLockName = "Global\\Qzkeepset profile update";
constexpr unsigned long kUpdateLockWait = 5000;  // milliseconds

class ProfileFileUpdate {
public:
    enum class Start {
        FromFile,  // a copy of the file; empty when there is none yet
        Empty,     // a file made anew: nothing of the old one is kept
    };

    // `file` as the profile functions take it: a bare name means the file
    // of that name in the Windows directory.
    explicit ProfileFileUpdate(const std::string& file, Start start = Start::FromFile);
    ~ProfileFileUpdate();
    ProfileFileUpdate(const ProfileFileUpdate&) = delete;
    ProfileFileUpdate& operator=(const ProfileFileUpdate&) = delete;

    // One key into the copy. A failed write makes the whole update fail.
    void Write(const std::string& section, const std::string& key, const std::string& value);

    // Checks that the copy holds exactly what it should, then replaces the
    // file with it. False when anything of the update failed or the file is
    // read-only: the file is then as it was before.
    bool Commit();

    // The file's full path, as reports name it.
    const std::string& Path() const { return path_; }
    // The copy's full path; empty when it could not be made.
    const std::string& CopyPath() const { return copy_; }

private:
    bool ReadImage(const std::string& file, ProfileImage& image) const;

    std::unique_lock<std::recursive_mutex> turn_;
    win::SharedMutex lock_;
    bool locked_ = false;
    std::string path_;
    std::string copy_;
    ProfileImage expected_;
    bool failed_ = false;
    bool committed_ = false;
};

// The full path of a profile file as the profile functions find it: a
// bare name (no "\", "/" or ":") is in the Windows directory. Empty when
// the Windows directory cannot be found.
std::string ProfileFilePath(const std::string& file);

// One key to the configuration file as an update of its own; false when
// the file could not be written (it is then as it was).
bool WriteConfigValue(const char* section, const char* key, const std::string& value);
