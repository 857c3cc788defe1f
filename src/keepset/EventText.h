#pragma once
// The event each unattended save and each verify leaves in the Application
// log: its type, its id (the message ids of res/events.mc, whose texts the
// program file carries) and the inserts its text names.
#include "keepset/VerifyText.h"
#include "win/EventLog.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr unsigned long kEventSaveComplete = 1000;
constexpr unsigned long kEventSaveErrors = 1001;
constexpr unsigned long kEventSaveDirectoryTooLong = 1002;
constexpr unsigned long kEventSaveAnotherCopy = 1003;
constexpr unsigned long kEventVerifyWhole = 2000;
constexpr unsigned long kEventVerifyFailed = 2001;
constexpr unsigned long kEventVerifyNothing = 2004;

// Every id above, for whoever checks that the program file carries a text
// for each.
std::vector<unsigned long> AllEventIds();

struct RunEvent {
    win::EventType type = win::EventType::Information;
    unsigned long id = 0;
    std::vector<std::string> inserts;
};

// An unattended save: status 0 information, 1 error, 2 (directory too
// long) and 3 (another copy runs) warnings. Inserts: the keepset, the
// status and the files its manifest lists.
RunEvent SaveRunEvent(const std::string& keepset, int status, std::uint64_t files);

// A verify: status 0 information, 1 error, 4 warning. Inserts: the
// keepsets, the status, then listed, whole, missing, changed, unreadable,
// lines not understood and not listed.
RunEvent VerifyRunEvent(const std::string& keepsets, int status, const VerifyCounts& counts);

// The run-log line when the event could not be written.
std::string EventFailedLine(unsigned long eventId, unsigned long error);
