#include "save/KeepsetRecord.h"

#include "config/ConfigFile.h"
#include "save/KeepsetRecordFormat.h"
#include "save/KeepsetSlot.h"
#include "win/Files.h"
#include "win/Profile.h"

#include <cstring>
#include <vector>

namespace {

// The Path of every list entry. It is read as long as a save directory can
// be, so that a long directory saved again is still recognised.
std::vector<std::string> StoredKeepsetPaths()
{
    std::vector<std::string> paths;
    for (int n = 1; n <= kKeepsetSlots; ++n)
        paths.push_back(win::ReadProfileString(kConfigFile, KeepsetSectionName(n), kKeyPath, "",
                                               kSaveDirLength));
    return paths;
}

// Writes the keys of both records in step: each key goes to the list entry
// first and then, when the record file is to hold it, to the record file.
// An old record file that could not be removed is left as it is: keys
// written into it would mix two saves, an option of the earlier one
// surviving beside the keys of this one.
class RecordWriter {
public:
    RecordWriter(const std::string& listSection, const std::string& recordFile, bool recordFileFree,
                 bool toRecordFile = true)
        : listSection_(listSection), recordFile_(recordFile), written_(recordFileFree),
          recordFileFree_(recordFileFree && toRecordFile)
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

KeepsetSlot ChooseKeepsetSlotFor(const std::string& saveDirectory)
{
    return ChooseKeepsetSlot(StoredKeepsetPaths(), saveDirectory);
}

bool WriteKeepsetRecord(const std::string& saveDirectory, const SaveSettingsRecord& settings,
                        const LocalDateTime& now, const char* state)
{
    return WriteKeepsetRecord(saveDirectory, ChooseKeepsetSlotFor(saveDirectory), settings, now, state);
}

bool MarkKeepsetRunning(const std::string& saveDirectory, const KeepsetSlot& slot,
                        const SaveSettingsRecord& settings, const LocalDateTime& now)
{
    return WriteKeepsetRecord(saveDirectory, slot, settings, now, kStateRunning);
}

bool WriteKeepsetRecord(const std::string& saveDirectory, const KeepsetSlot& slot,
                        const SaveSettingsRecord& settings, const LocalDateTime& now, const char* state)
{
    const std::string recordFile = RecordFilePath(saveDirectory);

    // The new record holds only this save's keys: nothing of an earlier
    // save into the same directory may survive in it. While the save runs
    // only its list entry speaks for it; the record file comes at its end.
    win::RemoveFile(recordFile);
    const bool running = std::strcmp(state, kStateRunning) == 0;
    RecordWriter writer(KeepsetSectionName(slot.number), recordFile, !win::EntryExists(recordFile), !running);
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
    writer.ToBoth(kKeyState, state);
    return writer.AllWritten();
}
