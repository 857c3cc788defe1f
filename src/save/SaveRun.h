#pragma once
// The save run: one whole save of the installation into the save directory
// of the save settings, on a worker thread of its own. It talks to the main
// window only through synchronous window messages: LB_RESETCONTENT and
// LB_SELECTSTRING to the colour message list (control 1004), report lines
// (WM_USER+2) and, at its very end, WM_USER+1.

constexpr unsigned kSaveRunEndMessage = 0x0400 + 1;  // WM_USER+1
constexpr int kColourMessageListId = 1004;

// Performs the run on the calling thread.
void SaveRun();

// Starts SaveRun on a new thread (default stack size, no argument) and
// returns at once. False when no thread could be started.
bool StartSaveRun();

// Whether the last run that ended had errors; the main window reads it when
// the end message arrives (an unattended start ends with status 1 then).
bool LastSaveRunHadErrors();
