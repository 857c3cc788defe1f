#pragma once
// The temporary option file through which one run of a database client
// program gets its password: created just before the program starts, in
// the user's temporary directory and open to the current user alone, and
// deleted when the object goes, whatever became of the program.
#include <string>

class ClientOptionFile {
public:
    ClientOptionFile() = default;
    ~ClientOptionFile();
    ClientOptionFile(const ClientOptionFile&) = delete;
    ClientOptionFile& operator=(const ClientOptionFile&) = delete;

    // Writes the [client] section with the password (ClientOptionText.h).
    // False when the file could not be made; then there is none.
    bool Create(const std::string& password);

    // The file's full name; empty before Create and after Remove.
    const std::string& Path() const { return path_; }

    // Deletes the file now. False when it is still there.
    bool Remove();

private:
    std::string path_;
};
