#pragma once
// A keepset's manifest as the restore reads it before it trusts any file.
#include "keepset/ManifestFormat.h"

#include <string>

// The manifest "qzkeepset.sha256" and the size list "qzkeepset.size" of a
// keepset.
class KeepsetManifest {
public:
    enum class Status {
        Absent,     // a keepset of an earlier version: its files cannot be verified
        Read,
        Unreadable  // there, but it cannot be read: nothing of the keepset can be trusted
    };

    // Reads both files of root. A size list that is missing or cannot be
    // read leaves the sizes unknown (the files are then checked for being
    // there, and by their hashes).
    void Read(const std::string& root);

    Status GetStatus() const { return status_; }
    // Null unless the manifest was read.
    const ParsedManifest* Entries() const { return status_ == Status::Read ? &parsed_ : nullptr; }
    std::string Path() const { return path_; }
    unsigned long Error() const { return error_; }
    bool SizesRead() const { return sizesRead_; }

private:
    Status status_ = Status::Absent;
    ParsedManifest parsed_;
    std::string path_;
    unsigned long error_ = 0;
    bool sizesRead_ = false;
};
