#pragma once
// The user's temporary directory and what the program makes in it: files
// and folders under names of its own, each made new (a name already there
// is never opened, followed or reused), through the system's wide calls.
#include <string>

namespace win {

// The temporary directory (GetTempPathW), ending with a backslash; empty
// when the call fails.
std::string TemporaryDirectory();

// Makes a new folder prefix + "<process id>-<number>" in the temporary
// directory that only the current user may open (its access list as the
// private files' below, inherited by what is made in it); path receives
// its full name. A name already taken (by anything:
// a folder, a file, a link) is passed over for the next number. False, with
// path empty, when none could be made. Counted as a DirectoryCreate.
bool CreateTemporaryFolder(const std::string& prefix, std::string& path);

// Makes a new file prefix + "<process id>-<number>" + extension in the
// temporary directory that only the current user may open, writes the
// content and closes it; path receives its name. Its access list names the
// current user alone and inherits nothing from the directory. False, with
// no file left behind, when any of it fails. Counted as a FileWrite.
bool WritePrivateTemporaryFile(const std::string& prefix, const std::string& extension, const std::string& content,
                               std::string& path);

// Makes an empty file of that name; false when the name is taken (CREATE_NEW)
// or the file cannot be made. Counted as a FileWrite.
bool CreateNewFile(const std::string& path);

}  // namespace win
