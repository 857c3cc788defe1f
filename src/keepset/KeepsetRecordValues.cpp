#include "keepset/KeepsetRecordValues.h"

#include "keepset/KeepsetRecordFormat.h"
#include "win/Profile.h"

namespace {

// Additional directories are saved with up to 255 characters: a shorter
// read would cut a path and restore into another directory.
constexpr std::size_t kAdditionalLength = 255;

}  // namespace

KeepsetFlags ReadKeepsetFlags(const std::string& file, const std::string& section)
{
    KeepsetFlags flags;
    flags.saveMsg = win::ReadProfileInt(file, section, kKeySaveMsg, 0) == 1;
    flags.saveDesktop = win::ReadProfileInt(file, section, kKeySaveDesktop, 0) == 1;
    flags.saveWeb = win::ReadProfileInt(file, section, kKeySaveWeb, 0) == 1;
    flags.saveMySql = win::ReadProfileInt(file, section, kKeySaveMySql, 0) == 1;
    return flags;
}

KeepsetRecordValues ReadKeepsetRecordValues(const std::string& file, const std::string& section)
{
    KeepsetRecordValues values;
    values.flags = ReadKeepsetFlags(file, section);
    for (int k = 1; k <= 4; ++k)
        values.saveAdd[k - 1] = win::ReadProfileString(file, section, SaveAddKey(k), "", kAdditionalLength);
    return values;
}
