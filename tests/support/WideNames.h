#pragma once
// Files, folders and registry values whose names the ANSI code page cannot
// carry, for preparing and inspecting an installation: paths and values are
// given in UTF-8 and the calls made in wide characters.
#include <map>
#include <string>

namespace qztest {

std::wstring WideOf(const std::string& utf8);
std::string Utf8Of(const std::wstring& wide);

// Writes the file with exactly these bytes, creating every missing level.
void WriteFileUtf8(const std::string& utf8Path, const std::string& content);

// Every plain file directly inside the folder, by name, with its bytes.
std::map<std::string, std::string> FilesUtf8(const std::string& utf8Folder);
// Every entry below the folder by relative path ("\" separated, a folder
// ending in "\"), each file with its bytes.
std::map<std::string, std::string> TreeUtf8(const std::string& utf8Folder);

// The names of a folder's entries as the system's ANSI search gives them
// (FindFirstFileA), by their real names; the folder's path is plain ASCII.
std::map<std::string, std::string> AnsiNamesIn(const std::string& asciiFolder);

// A REG_SZ value written with the wide call; the value as the system's
// ANSI call reads it back.
void SetRegistryStringUtf8(bool localMachine, const std::string& key, const std::string& value,
                           const std::string& utf8Data);
std::string RegistryStringAnsi(bool localMachine, const std::string& key, const std::string& value);

}  // namespace qztest
