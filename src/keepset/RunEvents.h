#pragma once
// Writing a run's event to the Application log. A failure to write it is a
// run-log line and nothing more: it never blocks or fails the run.
#include "keepset/EventText.h"

#include <functional>
#include <string>

void WriteRunEvent(const RunEvent& event, const std::function<void(const std::string&)>& logLine);

// The event of an unattended save that ended with this exit status, with
// the files the keepset's manifest lists; a failure goes to the run log.
void ReportSaveEvent(const std::string& saveDirectory, int status);
