#include "save/KeepsetRecord.h"

#include "config/ConfigFile.h"
#include "config/ProfileFileUpdate.h"
#include "save/KeepsetRecordFormat.h"
#include "save/KeepsetSlot.h"
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
// Both files are written as updates (a copy moved into place), so each is
// whole or untouched; the record file is made anew, with nothing of an
// earlier save's record in it.
class RecordWriter {
public:
    RecordWriter(const std::string& listSection, const std::string& recordFile)
        : listSection_(listSection), list_(kConfigFile),
          record_(recordFile, ProfileFileUpdate::Start::Empty)
    {
    }

    void ToBoth(const char* key, const std::string& value)
    {
        ToListOnly(key, value);
        record_.Write(kRecordSection, key, value);
    }

    void ToListOnly(const char* key, const std::string& value)
    {
        list_.Write(listSection_, key, value);
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

    // The list entry first: a record file without its entry is still found
    // by Select, an entry without its record file would not be whole. The
    // path of the file that could not be written goes to failedFile.
    bool Commit(std::string* failedFile)
    {
        if (!list_.Commit()) {
            if (failedFile != nullptr)
                *failedFile = list_.Path();
            return false;
        }
        if (!record_.Commit()) {
            if (failedFile != nullptr)
                *failedFile = record_.Path();
            return false;
        }
        return true;
    }

private:
    std::string listSection_;
    ProfileFileUpdate list_;
    ProfileFileUpdate record_;
};

}  // namespace

bool WriteKeepsetRecord(const std::string& saveDirectory, const SaveSettingsRecord& settings,
                        const LocalDateTime& now, std::string* failedFile)
{
    std::vector<std::string> storedPaths;
    if (!ReadStoredKeepsetPaths(storedPaths)) {
        if (failedFile != nullptr)
            *failedFile = ProfileFilePath(kConfigFile);
        return false;
    }
    const KeepsetSlot slot = ChooseKeepsetSlot(storedPaths, saveDirectory);
    const std::string recordFile = RecordFilePath(saveDirectory);

    RecordWriter writer(KeepsetSectionName(slot.number), recordFile);
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
    return writer.Commit(failedFile);
}
