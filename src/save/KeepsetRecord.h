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
// made anew and gets only the options that were set. An old record file
// that cannot be removed is left as it was rather than mixed with this
// save's keys.
//
// Nothing is written when the Path of an existing entry cannot be read.
// True when the old record file is gone and every write went through.
// The run does not stop for a false result: the keepset is then just not
// listed, or not recognised from its directory.
bool WriteKeepsetRecord(const std::string& saveDirectory, const SaveSettingsRecord& settings,
                        const LocalDateTime& now);
