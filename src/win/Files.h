#pragma once
// Files and directories: one function per system operation. Paths are
// byte strings of the ANSI code page, where a name the code page cannot
// carry is wrapped (win/WrappedNames.h); the calls use the system's wide
// characters, so every name found can be used again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace win {

constexpr unsigned long kInvalidAttributes = 0xFFFFFFFFul;
constexpr unsigned long kAttributeReadOnly = 0x01;
constexpr unsigned long kAttributeHidden = 0x02;
constexpr unsigned long kAttributeDirectory = 0x10;
constexpr unsigned long kAttributeArchive = 0x20;
constexpr unsigned long kAttributeNormal = 0x80;

struct FoundEntry {
    std::string name;
    unsigned long attributes = 0;
    std::uint64_t size = 0;  // in bytes, for a file
};

// How a search hands out names. Exact: every name as the other calls here
// take it back, also one the ANSI code page cannot carry (win/WrappedNames.h).
// Shown: the code page's form for windows and lists, with "?" for what it
// has nothing for, which names no file.
enum class NameForm { Exact, Shown };

// A wildcard search ("*" and "?") over the entries of one directory, in the
// order the system returns them. The constructor makes the first search
// call; Next hands out that entry first, then one per further call.
//
// Next returns false both at the end and when the system could not go on;
// Failed tells the two apart. A directory or name that is not there, and
// the end of the entries, are no failure (nothing matched, nothing more);
// any other error (access denied, a network path gone) is one: the entries
// handed out so far are then not all there are.
class DirectorySearch {
public:
    explicit DirectorySearch(const std::string& pattern, NameForm form = NameForm::Exact);
    ~DirectorySearch();
    DirectorySearch(const DirectorySearch&) = delete;
    DirectorySearch& operator=(const DirectorySearch&) = delete;

    bool Next(FoundEntry& entry);
    bool Failed() const { return error_ != 0; }
    // The system's error code of the failure; 0 when the search did not fail.
    unsigned long Error() const { return error_; }

private:
    void Stop(unsigned long error);

    void* handle_;
    NameForm form_;
    FoundEntry first_;
    bool firstPending_;
    unsigned long error_;
};

// CopyFile with fail-if-exists false: replaces an existing target.
bool CopyFileReplacing(const std::string& source, const std::string& target);
// CreateDirectory: one level, the parent must exist.
bool CreateOneDirectory(const std::string& path);
bool RemoveFile(const std::string& path);
// RemoveDirectoryA: only an empty directory goes.
bool RemoveEmptyDirectory(const std::string& path);
// kInvalidAttributes when the entry does not exist or the system could not
// tell (see LastErrorIsNotFound).
unsigned long FileAttributes(const std::string& path);
bool SetFileAttributesTo(const std::string& path, unsigned long attributes);
// True when an entry of that name exists (GetFileAttributes, as _access
// mode 0 asks). False also when the system could not tell: then
// LastErrorIsNotFound is false, and the caller knows nothing of the entry.
bool EntryExists(const std::string& path);
// GetWindowsDirectoryA, cut to usableLength characters; empty when the call
// fails or the directory is longer.
std::string WindowsDirectory(std::size_t usableLength);
std::string CurrentDirectory();
bool ChangeDirectory(const std::string& path);
// Opens a text file for appending (mode "a+"); nullptr when it cannot.
std::FILE* OpenForAppend(const std::string& path);
// GetLogicalDriveStringsA into a buffer of 128 characters: the root of
// every logical drive, such as C:\ for drive C, in the order given. False
// when the call fails or the list does not fit.
bool LogicalDriveStrings(std::vector<std::string>& drives);
// MoveFileEx with replace-existing and write-through: the target is
// replaced in one step, and the call returns once the move is on the disk.
bool MoveReplacing(const std::string& source, const std::string& target);
// The size of a file (GetFileAttributesEx); false when it does not exist
// or is a directory.
bool FileSize(const std::string& path, std::uint64_t& size);
// The whole content of a file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& content);
// Creates or truncates the file, writes the content and flushes it to the
// disk (FlushFileBuffers) before closing; false when any of it fails.
bool WriteWholeFile(const std::string& path, const std::string& content);
// Writes what the system still holds of the file to the disk
// (FlushFileBuffers on a handle opened for writing); false when it cannot.
bool FlushFileToDisk(const std::string& path);
// True when the last failed call on this thread found no such file or
// directory (as opposed to one it could not read).
bool LastErrorIsNotFound();
// The error code of the last failed call on this thread.
unsigned long LastError();

}  // namespace win
