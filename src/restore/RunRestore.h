#pragma once
// The restore run: copies one keepset, whole or the chosen items, back into
// the installation, reloads its database dumps, logs every file and
// command to the run log and ends with one summary box. It runs on the
// user-interface thread inside the restore dialog's Restore button.
#include "restore/RestoreRequest.h"
#include "restore/RestoreRunHost.h"

// Checks the source (string 139 when none is chosen), asks for
// confirmation (string 140, and for a keepset chosen with "Select" the
// additional directories its record names; No stops), restores, shows the summary (143
// after any failure, 145 when nothing was restored, else 144) and, when
// something was restored, closes the dialog through the host. Boxes carry
// the application's name as caption.
//
// A list entry's keepset root is its Path, read with up to 511 characters
// as the save side writes it. The record's values are read once, before
// the first copy, so restoring the Windows directory's ini files cannot
// change what the run goes on to do. \qzt, \db1 and \dbv1 go to the drive
// of the registered installation directory (the current drive when none
// is registered). An additional directory that is not a full path, or has
// a ".." part, is refused with a failure line.
//
// True when something was restored.
bool RunRestore(const RestoreRequest& request, RestoreRunHost& host);
