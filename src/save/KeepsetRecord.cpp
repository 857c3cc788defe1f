#include "save/KeepsetRecord.h"

#include "config/ConfigFile.h"
#include "save/KeepsetRecordFormat.h"
#include "save/KeepsetSlot.h"
#include "win/Files.h"
#include "win/Profile.h"

#include <vector>

namespace {

// The Path of every list entry. It is read as long as a save directory can
// be, so that a long directory saved again is still recognised. False when
// any of them could not be read: an entry that only seems free must not
// be taken, or an earlier keepset would drop out of the list.
bool ReadStoredKeepsetPaths(std::vector<std::string>& paths)
{
    paths.clear();
    for (int n = 1; n <= kKeepsetSlots; ++n) {
        std::string path;
        if (!win::ReadProfileStringChecked(kConfigFile, KeepsetSectionName(n), kKeyPath, "", kSaveDirLength, path))
            return false;
        paths.push_back(path);
    }
    return true;
}

// Writes the keys of both records in step: each key goes to the list entry
// first and then, when the record file is to hold it, to the record file.
// An old record file that could not be removed is left as it is: keys
// written into it would mix two saves, an option of the earlier one
// surviving beside the keys of this one.
class RecordWriter {
public:
    RecordWriter(const std::string& listSection, const std::string& recordFile, bool recordFileFree)
        : listSection_(listSection), recordFile_(recordFile), written_(recordFileFree),
          recordFileFree_(recordFileFree)
    {
    }

    void ToBoth(const char* key, const std::string& value)
    {
        ToListOnly(key, value);
        if (recordFileFree_)
            written_ = win::WriteProfileValue(recordFile_, kRecordSection, key, value) && written_;
    }

    void ToListOnly(const char* key, const std::string& value)
    {
        written_ = win::WriteProfileValue(kConfigFile, listSection_, key, value) && written_;
    }

    // A set option is "1" in both records; an option that was not set is
    // "0" in the list entry and absent from the record file.
    void Option(const char* key, int value)
    {
        if (value != 0)
            ToBoth(key, "1");
        else
            ToListOnly(key, "0");
    }

    bool AllWritten() const { return written_; }

private:
    std::string listSection_;
    std::string recordFile_;
    bool written_;
    bool recordFileFree_;
};

}  // namespace

bool WriteKeepsetRecord(const std::string& saveDirectory, const SaveSettingsRecord& settings,
                        const LocalDateTime& now)
{
    std::vector<std::string> storedPaths;
    if (!ReadStoredKeepsetPaths(storedPaths))
        return false;
    const KeepsetSlot slot = ChooseKeepsetSlot(storedPaths, saveDirectory);
    const std::string recordFile = RecordFilePath(saveDirectory);

    // The new record holds only this save's keys: nothing of an earlier
    // save into the same directory may survive in it.
    win::RemoveFile(recordFile);
    RecordWriter writer(KeepsetSectionName(slot.number), recordFile, !win::EntryExists(recordFile));
    writer.ToBoth(kKeyPath, slot.path);
    writer.ToBoth(kKeyDate, RecordDate(now));
    writer.ToBoth(kKeyTime, RecordTime(now));
    writer.Option(kKeySaveMsg, settings.SaveMSG);
    writer.Option(kKeySaveAlrMsgOnly, settings.OnlySaveAlrMSG);
    writer.Option(kKeySaveDesktop, settings.SaveDesktop);
    writer.Option(kKeySaveWeb, settings.SaveWeb);
    writer.Option(kKeySaveMySql, settings.SaveMySql);
    for (int k = 1; k <= 4; ++k) {
        if (settings.AciveSaveFiles(k) != 0)
            writer.ToBoth(SaveAddKey(k).c_str(), settings.SaveFiles(k));
        else
            writer.ToListOnly(SaveAddKey(k).c_str(), "");
    }
    return writer.AllWritten();
}
