#pragma once
// The keepset record a save run leaves at its end: the entry [SaveN] of the
// keepset list in the configuration file, from which the restore dialog
// lists earlier saves, and the record file "qzkeepset.inf" in the save
// directory, which describes the keepset wherever it is found later.
#include "config/SaveSettings.h"
#include "keepset/KeepsetRecordFormat.h"
#include "keepset/KeepsetSlot.h"
#include "save/LocalDateTime.h"

#include <string>

// The list entry a save into saveDirectory takes, chosen over the Path
// values the configuration file holds now (ChooseKeepsetSlot). False when
// the Path of an entry cannot be read: an entry that only seems free must
// not be taken; failedFile then names the configuration file.
bool ChooseKeepsetSlotFor(const std::string& saveDirectory, KeepsetSlot& slot,
                          std::string* failedFile = nullptr);

// Writes both records of a save into saveDirectory (the directory as the
// run used it, date patterns expanded) from the run's options in settings
// (its SaveDir field is not read) with the date and time `now`, into the
// list entry `slot`, with the state the save ended in (kStateComplete or
// kStateErrors) as the last key. The list entry always gets every key; the
// record file is made anew and gets only the options that were set. Each
// file is replaced in one step or left as it was, never cut.
//
// True when both files were written; otherwise failedFile names the full
// path of the one that was not, when asked for (the configuration file is
// written first, so a failed one leaves the record file as it was, too;
// a record file that fails after the entry said "complete" turns the
// entry's State to "errors").
bool WriteKeepsetRecord(const std::string& saveDirectory, const KeepsetSlot& slot,
                        const SaveSettingsRecord& settings, const LocalDateTime& now, const char* state,
                        std::string* failedFile = nullptr);

// The same with the list entry chosen now and the state "complete".
// Nothing is written when the Path of an existing entry cannot be read.
bool WriteKeepsetRecord(const std::string& saveDirectory, const SaveSettingsRecord& settings,
                        const LocalDateTime& now, std::string* failedFile = nullptr);

// The start of a save, before anything is copied: writes the list entry
// `slot` as the end of the run will, but with the state "running", and
// removes the record file, so that a run that dies leaves its keepset
// listed and marked. The record file is written only at the end. True
// when the entry was written and the old record file is gone; otherwise
// failedFile names the file that was not written or removed.
bool MarkKeepsetRunning(const std::string& saveDirectory, const KeepsetSlot& slot,
                        const SaveSettingsRecord& settings, const LocalDateTime& now,
                        std::string* failedFile = nullptr);
