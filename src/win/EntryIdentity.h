#pragma once
// What an entry of the file system is, seen without following it: which
// file it is (so that two names of one file are known as one, whatever
// their spelling: an 8.3 short name, another letter case, trailing dots),
// and whether it is a junction, symbolic link or mount point that would
// send a write somewhere else. And the two ways the restore writes that
// nothing planted can redirect: a directory of a new, unique name, and a
// copy that never opens an existing file.
#include <cstdint>
#include <string>

namespace win {

struct EntryIdentity {
    unsigned long volumeSerial = 0;
    std::uint64_t fileIndex = 0;
    unsigned long attributes = 0;
};

// Opens the entry itself, not what a link points to
// (FILE_FLAG_OPEN_REPARSE_POINT; FILE_FLAG_BACKUP_SEMANTICS so that a
// directory opens too), and reads its volume serial number, file index and
// attributes (GetFileInformationByHandle). False when it cannot:
// LastErrorIsNotFound then tells an entry that is not there. Counted as an
// OpenFile.
bool ExamineEntry(const std::string& path, EntryIdentity& identity);

// The same file: one volume, one file index.
inline bool SameEntry(const EntryIdentity& first, const EntryIdentity& second)
{
    return first.volumeSerial == second.volumeSerial && first.fileIndex == second.fileIndex;
}

// A junction, symbolic link or mount point (FILE_ATTRIBUTE_REPARSE_POINT).
inline bool IsReparsePoint(const EntryIdentity& identity)
{
    return (identity.attributes & 0x400ul) != 0;
}

// Creates a directory of a new name in parent, "<prefix><process>-<time>-<n>.tmp",
// and never takes one that exists: a name that is taken (by anything,
// also a link) is passed over for the next, up to a few tries. made
// receives its path. Each try is counted as a DirectoryCreate.
bool CreateUniqueDirectory(const std::string& parent, const std::string& prefix, std::string& made);

// CopyFile with fail-if-exists true: the target is created new, and an
// entry already there of that name (a file, a link) makes the copy fail
// instead of being written through. Counted as a FileCopy.
bool CopyFileToNew(const std::string& source, const std::string& target);

}  // namespace win
