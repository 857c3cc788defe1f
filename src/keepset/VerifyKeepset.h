#pragma once
// /verify: proves keepsets whole without restoring them. Each listed file
// is read back and its size and SHA-256 compared with the manifest; files
// present but not listed are reported. The manifest and the tree are read
// as streams, so memory grows with the names listed, not with the data.
#include "keepset/VerifyText.h"
#include "save/RunLog.h"

#include <string>

// Checks the keepset in directory (date patterns already expanded), one
// run-log line for its start, each missing, changed or unreadable file and
// each file not listed, and one summary line. counts receives its counts.
// kVerifyWhole, kVerifyFailed or kVerifyNothing.
int VerifyKeepset(const std::string& directory, RunLog& log, VerifyCounts& counts);

// The whole run of "/verify [DIR]": with a directory that keepset (its
// date patterns expanded as a save expands them), without one every
// keepset of the list whose directory exists, newest first. Writes the run
// log log\qzkeepset.log of the working directory and one event, and gives
// the exit status, the worst of the keepsets'.
int RunVerify(const std::string& directoryArgument);
