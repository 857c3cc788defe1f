#pragma once
// What a keepset record says was saved, as the restore dialog and the
// restore run both read it: from an entry [SaveN] of the configuration
// file or from the [Save] section of a keepset's record file.
#include <string>

// The saved parts; a flag counts only when its value is exactly 1.
struct KeepsetFlags {
    bool saveMsg = false;
    bool saveDesktop = false;
    bool saveWeb = false;
    bool saveMySql = false;
};

struct KeepsetRecordValues {
    KeepsetFlags flags;
    std::string saveAdd[4];  // SaveAdd1 ... SaveAdd4, empty when not saved
};

// SaveMsg, SaveDesktop, SaveWeb and SaveMySql of the record's section.
KeepsetFlags ReadKeepsetFlags(const std::string& file, const std::string& section);

// The flags and the additional directories, each read with the length the
// save side writes it with.
KeepsetRecordValues ReadKeepsetRecordValues(const std::string& file, const std::string& section);
