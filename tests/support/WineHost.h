#pragma once
// What a test under Wine needs from the Linux side: path translation,
// running Linux programs, drive letters mapped to folders, and a scratch
// folder per test.
#include <string>
#include <vector>

namespace qztest {

// The Linux path of a Windows path (wine_get_unix_file_name); empty when
// it has none.
std::string UnixPathOf(const std::string& windowsPath);

// Runs a Linux program with its arguments, waits, returns its exit status
// (negative when it could not be run).
int RunUnix(const std::vector<std::string>& argv);

// The Wine prefix the test runs in (WINEPREFIX).
std::string WinePrefix();

// Maps a drive letter to a Windows folder (a link in the prefix's
// dosdevices), or removes the mapping.
void MapDrive(char letter, const std::string& windowsFolder);
void UnmapDrive(char letter);

// Maps the network share \\<server>\<share> to a Windows folder (Wine
// resolves UNC paths through the prefix's dosdevices\unc), or removes it.
void MapShare(const std::string& server, const std::string& share, const std::string& windowsFolder);
void UnmapShare(const std::string& server, const std::string& share);

// A fresh empty folder C:\qztest\<name>, removed again by the destructor.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    // Path() + "\" + relative.
    std::string operator/(const std::string& relative) const;

private:
    std::string path_;
};

// Removes a file or a whole tree (through the Linux side, so read-only and
// hidden entries go as well).
void RemoveTree(const std::string& windowsPath);

// Creates every missing level of a directory.
void MakeDirectories(const std::string& windowsPath);

// Writes a file (creating its directory); binary, exactly these bytes.
void WriteFileText(const std::string& windowsPath, const std::string& content);
// The file's bytes; empty when it cannot be read.
std::string ReadFileText(const std::string& windowsPath);
bool Exists(const std::string& windowsPath);

// Sets or clears the hidden / read-only attributes.
void SetAttributes(const std::string& windowsPath, unsigned long attributes);

// Registry values for preparing an installation (HKLM or HKCU).
void SetRegistryString(bool localMachine, const std::string& key, const std::string& value,
                       const std::string& data);
void DeleteRegistryTree(bool localMachine, const std::string& key);

// A registry value as it was (raw data and type), to put back after a test.
struct SavedRegistryValue {
    bool existed = false;
    unsigned long type = 0;
    std::string data;
};
SavedRegistryValue SaveRegistryValue(bool localMachine, const std::string& key, const std::string& value);
void RestoreRegistryValue(bool localMachine, const std::string& key, const std::string& value,
                          const SavedRegistryValue& saved);

// The Windows directory and the configuration file in it.
std::string WindowsDir();
std::string ConfigFilePath();
void RemoveConfigFile();

// Lines of a text file, without their line ends (CR LF or LF).
std::vector<std::string> ReadLines(const std::string& windowsPath);

}  // namespace qztest
