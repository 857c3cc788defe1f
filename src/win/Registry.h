#pragma once
// Registry reading. The program never writes the registry.
#include <cstddef>
#include <string>

namespace win {

enum class RegistryRoot { LocalMachine, CurrentUser };

// A key opened with query-value access, closed again when the object ends.
class RegistryKey {
public:
    RegistryKey(RegistryRoot root, const std::string& path);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool IsOpen() const { return handle_ != nullptr; }
    // Reads a string value of at most maxBytes bytes (terminating NUL
    // included). False when the value is missing, longer or not a string.
    bool ReadString(const std::string& value, std::size_t maxBytes, std::string& text) const;
    // Reads a string value naming a folder, whatever its length, in wide
    // characters: a name the ANSI code page cannot carry comes wrapped, as
    // the file calls take it (win/WrappedNames.h). False when the value is
    // missing or not a string.
    bool ReadPath(const std::string& value, std::string& path) const;

private:
    void* handle_;
};

// Opens and closes the key: only whether it exists counts.
bool RegistryKeyExists(RegistryRoot root, const std::string& path);

// Opens the key, reads one string value, closes the key.
bool ReadRegistryString(RegistryRoot root, const std::string& path, const std::string& value,
                        std::size_t maxBytes, std::string& text);

// Opens the key, reads one folder value with ReadPath, closes the key.
bool ReadRegistryPath(RegistryRoot root, const std::string& path, const std::string& value, std::string& folder);

}  // namespace win
