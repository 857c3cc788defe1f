#pragma once
// The keepset record a save run leaves at its end: the entry [SaveN] of the
// keepset list in the configuration file, from which the restore dialog
// lists earlier saves, and the record file "qzkeepset.inf" in the save
// directory, which describes the keepset wherever it is found later.
#include "config/SaveSettings.h"
#include "save/KeepsetRecordFormat.h"
#include "save/KeepsetSlot.h"
#include "save/LocalDateTime.h"

#include <string>

// The list entry a save into saveDirectory takes, chosen over the Path
// values the configuration file holds now (ChooseKeepsetSlot).
KeepsetSlot ChooseKeepsetSlotFor(const std::string& saveDirectory);

// Writes both records of a save into saveDirectory (the directory as the
// run used it, date patterns expanded) from the run's options in settings
// (its SaveDir field is not read) with the date and time `now`, into the
// list entry `slot`, and the state the save ended in (kStateComplete or
// kStateErrors) as the last key. The list entry always gets every key; the
// record file is made anew and gets only the options that were set. An old
// record file that cannot be removed is left as it was rather than mixed
// with this save's keys.
//
// True when the old record file is gone and every write went through.
// The run does not stop for a false result: the keepset is then just not
// listed, or not recognised from its directory.
bool WriteKeepsetRecord(const std::string& saveDirectory, const KeepsetSlot& slot,
                        const SaveSettingsRecord& settings, const LocalDateTime& now, const char* state);

// The same with the list entry chosen now.
bool WriteKeepsetRecord(const std::string& saveDirectory, const SaveSettingsRecord& settings,
                        const LocalDateTime& now, const char* state = kStateComplete);

// The start of a save, before anything is copied: removes the record file
// and writes the list entry `slot` as the end of the run will, but with
// the state "running", so that a run that dies leaves its keepset listed
// and marked. The record file is written only at the end. True when the
// old record file is gone and every write went through.
bool MarkKeepsetRunning(const std::string& saveDirectory, const KeepsetSlot& slot,
                        const SaveSettingsRecord& settings, const LocalDateTime& now);
