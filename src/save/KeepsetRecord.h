#pragma once
// The keepset record a save run leaves at its end: the entry [SaveN] of the
// keepset list in the configuration file, from which the restore dialog
// lists earlier saves, and the record file "qzkeepset.inf" in the save
// directory, which describes the keepset wherever it is found later.
#include "config/SaveSettings.h"
#include "save/LocalDateTime.h"

#include <string>

// Chooses the list entry for saveDirectory (the directory as the run used
// it, date patterns expanded) and writes both records from the run's
// options in settings (its SaveDir field is not read) with the date and
// time `now`. The list entry always gets every key; the record file is
// made anew and gets only the options that were set. Each file is replaced
// in one step or left as it was, never cut.
//
// Nothing is written when the Path of an existing entry cannot be read.
// True when both files were written; otherwise failedFile names the full
// path of the one that was not, when asked for (the configuration file is written first,
// so a failed one leaves the record file as it was, too).
bool WriteKeepsetRecord(const std::string& saveDirectory, const SaveSettingsRecord& settings,
                        const LocalDateTime& now, std::string* failedFile = nullptr);
