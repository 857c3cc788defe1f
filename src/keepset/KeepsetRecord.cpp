#include "keepset/KeepsetRecord.h"

#include "config/ConfigFile.h"
#include "config/ProfileFileUpdate.h"
#include "keepset/KeepsetRecordFormat.h"
#include "keepset/KeepsetSlot.h"
#include "win/Files.h"
#include "win/Profile.h"

#include <cstring>
#include <memory>
#include <cstring>
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
    // Without the record file (while a save runs) only the list entry is
    // written.
    RecordWriter(const std::string& listSection, const std::string& recordFile, bool withRecordFile = true)
        : listSection_(listSection), list_(kConfigFile), recordFile_(recordFile),
          record_(withRecordFile ? new ProfileFileUpdate(recordFile, ProfileFileUpdate::Start::Empty) : nullptr)
    {
    }

    void ToBoth(const char* key, const std::string& value)
    {
        ToListOnly(key, value);
        if (record_)
            record_->Write(kRecordSection, key, value);
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
    bool ListCommitted() const { return listCommitted_; }

    bool Commit(std::string* failedFile)
    {
        listCommitted_ = list_.Commit();
        if (!listCommitted_) {
            if (failedFile != nullptr)
                *failedFile = list_.Path();
            return false;
        }
        if (record_ && !record_->Commit()) {
            if (failedFile != nullptr)
                *failedFile = record_->Path();
            return false;
        }
        return true;
    }

    // While a save runs only its list entry speaks for it: the record file
    // is not written, and the old one is removed.
    bool CommitListOnly(std::string* failedFile)
    {
        if (!list_.Commit()) {
            if (failedFile != nullptr)
                *failedFile = list_.Path();
            return false;
        }
        const std::string recordPath = ProfileFilePath(recordFile_);
        // A delete that fails for another reason than a missing file is
        // not trusted, even when the file then looks absent.
        const bool removed = win::RemoveFile(recordPath) || win::LastErrorIsNotFound();
        const bool gone = removed && !win::EntryExists(recordPath) && win::LastErrorIsNotFound();
        if (!gone) {
            if (failedFile != nullptr)
                *failedFile = recordPath;
            return false;
        }
        return true;
    }

private:
    std::string listSection_;
    ProfileFileUpdate list_;
    std::string recordFile_;
    std::unique_ptr<ProfileFileUpdate> record_;
    bool listCommitted_ = false;
};

}  // namespace

bool ChooseKeepsetSlotFor(const std::string& saveDirectory, KeepsetSlot& slot, std::string* failedFile)
{
    std::vector<std::string> storedPaths;
    if (!ReadStoredKeepsetPaths(storedPaths)) {
        if (failedFile != nullptr)
            *failedFile = ProfileFilePath(kConfigFile);
        return false;
    }
    slot = ChooseKeepsetSlot(storedPaths, saveDirectory);
    return true;
}

bool WriteKeepsetRecord(const std::string& saveDirectory, const SaveSettingsRecord& settings,
                        const LocalDateTime& now, std::string* failedFile)
{
    KeepsetSlot slot;
    return ChooseKeepsetSlotFor(saveDirectory, slot, failedFile) &&
           WriteKeepsetRecord(saveDirectory, slot, settings, now, kStateComplete, failedFile);
}

bool MarkKeepsetRunning(const std::string& saveDirectory, const KeepsetSlot& slot,
                        const SaveSettingsRecord& settings, const LocalDateTime& now, std::string* failedFile)
{
    return WriteKeepsetRecord(saveDirectory, slot, settings, now, kStateRunning, failedFile);
}

bool WriteKeepsetRecord(const std::string& saveDirectory, const KeepsetSlot& slot,
                        const SaveSettingsRecord& settings, const LocalDateTime& now, const char* state,
                        std::string* failedFile)
{
    const std::string recordFile = RecordFilePath(saveDirectory);

    const bool running = std::strcmp(state, kStateRunning) == 0;
    RecordWriter writer(KeepsetSectionName(slot.number), recordFile, !running);
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
    if (running)
        return writer.CommitListOnly(failedFile);
    if (writer.Commit(failedFile))
        return true;
    // The list entry went through, the record file did not: the entry must
    // not call a keepset complete whose record is missing.
    if (writer.ListCommitted() && std::strcmp(state, kStateComplete) == 0) {
        ProfileFileUpdate entry(kConfigFile);
        entry.Write(KeepsetSectionName(slot.number), kKeyState, kStateErrors);
        entry.Commit();
    }
    return false;
}
