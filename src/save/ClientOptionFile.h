#pragma once
// The temporary option file through which one run of a database client
// program gets its password: created just before the program starts, in
// the user's temporary directory under a name of the program's own
// (ClientOptionFileProcessId) and open to the current user alone, and
// deleted when the object goes, whatever became of the program.
#include <string>

class ClientOptionFile {
public:
    ClientOptionFile() = default;
    ~ClientOptionFile();
    ClientOptionFile(const ClientOptionFile&) = delete;
    ClientOptionFile& operator=(const ClientOptionFile&) = delete;

    // Writes the [client] section with the password (ClientOptionText.h).
    // False when the file could not be made, or the program is ending
    // (RemoveClientOptionFilesInUse); then there is none.
    bool Create(const std::string& password);

    // The file's full name; empty before Create and after Remove.
    const std::string& Path() const { return path_; }

    // Deletes the file now. False when it is still there.
    bool Remove();

private:
    std::string path_;
};

// For the end of the program, while a save run may still be dumping on its
// worker thread: deletes every option file this process holds (waiting a
// little for a client that has one open), and no other is made afterwards.
// False when one of them is still there.
bool RemoveClientOptionFilesInUse();

// For tests: makes option files possible again after
// RemoveClientOptionFilesInUse.
void AllowClientOptionFilesAgain();

// For the start of the program: deletes the option files of this program's
// naming in the temporary directory whose process no longer runs (left by a
// run that was killed or lost its power). A file of a process that still
// runs, another copy of the program at work, stays. Returns how many went.
int RemoveStaleClientOptionFiles();
