#include "keepset/EventText.h"

std::vector<unsigned long> AllEventIds()
{
    return {kEventSaveComplete,   kEventSaveErrors,   kEventSaveDirectoryTooLong, kEventSaveAnotherCopy,
            kEventVerifyWhole,    kEventVerifyFailed, kEventVerifyNothing};
}

RunEvent SaveRunEvent(const std::string& keepset, int status, std::uint64_t files)
{
    RunEvent event;
    switch (status) {
    case 0:
        event.id = kEventSaveComplete;
        break;
    case 2:
        event.type = win::EventType::Warning;
        event.id = kEventSaveDirectoryTooLong;
        break;
    case 3:
        event.type = win::EventType::Warning;
        event.id = kEventSaveAnotherCopy;
        break;
    default:
        event.type = win::EventType::Error;
        event.id = kEventSaveErrors;
        break;
    }
    event.inserts = {keepset, std::to_string(status), std::to_string(files)};
    return event;
}

RunEvent VerifyRunEvent(const std::string& keepsets, int status, const VerifyCounts& counts)
{
    RunEvent event;
    switch (status) {
    case kVerifyWhole:
        event.id = kEventVerifyWhole;
        break;
    case kVerifyNothing:
        event.type = win::EventType::Warning;
        event.id = kEventVerifyNothing;
        break;
    default:
        event.type = win::EventType::Error;
        event.id = kEventVerifyFailed;
        break;
    }
    event.inserts = {keepsets,
                     std::to_string(status),
                     std::to_string(counts.listed),
                     std::to_string(counts.whole),
                     std::to_string(counts.missing),
                     std::to_string(counts.changed),
                     std::to_string(counts.unreadable),
                     std::to_string(counts.malformed),
                     std::to_string(counts.unlisted)};
    return event;
}

std::string EventFailedLine(unsigned long eventId, unsigned long error)
{
    return "FAILED to write event " + std::to_string(eventId) + " to the Windows Event Log (system error " +
           std::to_string(error) + ")";
}
