#pragma once
// The Windows Event Log: one event at a time to the Application log under
// the program's source, its text taken from the message table that the
// source's registration names (the program file itself).
#include <string>
#include <vector>

namespace win {

constexpr const char* kEventSource = "Qzkeepset";

enum class EventType { Information, Warning, Error };

// RegisterEventSource, ReportEventW with the inserts as the message's %1,
// %2 ..., DeregisterEventSource. False when the source cannot be opened or
// the event not written; the thread's last error then says why. Never
// waits for anybody: the system queues the event.
bool WriteEvent(EventType type, unsigned long eventId, const std::vector<std::string>& inserts);

// For tests: the last event this process asked for, also one that failed.
struct ReportedEvent {
    EventType type = EventType::Information;
    unsigned long eventId = 0;
    std::vector<std::string> inserts;
};
bool LastReportedEvent(ReportedEvent& event);

}  // namespace win
