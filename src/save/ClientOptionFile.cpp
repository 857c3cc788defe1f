#include "save/ClientOptionFile.h"

#include "save/ClientOptionText.h"
#include "win/Files.h"

ClientOptionFile::~ClientOptionFile()
{
    Remove();
}

bool ClientOptionFile::Create(const std::string& password)
{
    Remove();
    return win::WritePrivateTemporaryFile(ClientOptionFileText(password), path_);
}

bool ClientOptionFile::Remove()
{
    if (path_.empty())
        return true;
    // A refused delete is tried once more: the client may not have let go
    // of the file at the very moment it ended.
    if (!win::RemoveFile(path_) && !win::RemoveFile(path_))
        return false;
    path_.clear();
    return true;
}
