#pragma once
// How the save run reports: lines in its run log and report messages to the
// main window, which shows them in its colour message list.
#include "save/RunLog.h"

#include <string>

// Report message to the main window: wParam 0 for a success, 1 for a
// failure, lParam the text, valid only until the message returns.
constexpr unsigned kReportMessage = 0x0400 + 2;  // WM_USER+2

// The save run's own log, one for the process; the save run opens it at its
// start and closes it at its end.
RunLog& SaveRunLog();

// The run log, relative to the working directory.
constexpr const char* kRunLogPath = "log\\qzkeepset.log";

// One time-stamped line in the save run's log; dropped while it is not open.
void WriteLogLine(const std::string& text);

// One time-stamped line in the run log whether a save run has it open or
// not (then it is opened for this line alone); line breaks of the text
// become blanks. What an unattended start has to say goes here.
void AppendRunLogLine(const std::string& text);

// The report message alone, sent synchronously to MainWindow of the save
// settings; nothing is sent while there is no main window.
void SendReportMessage(const std::string& text, bool failed);

// A step of the run: its log line, then its report message.
void ReportStep(const std::string& text, bool failed);

// For tests: a function called on the run's thread after each report
// message has been handled, so that a test can end the run's thread at a
// chosen point, as a run that is killed ends. nullptr (the default) for
// none.
using ReportObserver = void (*)();
void SetReportObserver(ReportObserver observer);

// For a thread that reports lines for the run's thread (the reader of the
// copy loops): marks the calling thread, whose report messages then leave
// the observer to the run's thread, which calls ObserveReport for each line
// once it learns the line was handled.
void ReportForTheRunThread();
void ObserveReport();
