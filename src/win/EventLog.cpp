#include "win/EventLog.h"

#include "win/InjectedFailure.h"
#include "win/WideNames.h"

#include <windows.h>

#include <mutex>

namespace win {
namespace {

std::mutex lastEventLock;
bool anyEvent = false;
ReportedEvent lastEvent;

WORD SystemType(EventType type)
{
    switch (type) {
    case EventType::Error:
        return EVENTLOG_ERROR_TYPE;
    case EventType::Warning:
        return EVENTLOG_WARNING_TYPE;
    default:
        return EVENTLOG_INFORMATION_TYPE;
    }
}

// The inserts in the system's characters; a wrapped name is shown as the
// run log shows it. MultiByteToWideChar of the ANSI code page.
std::wstring Wide(const std::string& text)
{
    const std::string shown = ShownText(text);
    if (shown.empty())
        return std::wstring();
    const int length = MultiByteToWideChar(CP_ACP, 0, shown.data(), static_cast<int>(shown.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, shown.data(), static_cast<int>(shown.size()), &wide[0], length);
    return wide;
}

}  // namespace

bool WriteEvent(EventType type, unsigned long eventId, const std::vector<std::string>& inserts)
{
    {
        std::lock_guard<std::mutex> guard(lastEventLock);
        anyEvent = true;
        lastEvent.type = type;
        lastEvent.eventId = eventId;
        lastEvent.inserts = inserts;
    }
    if (InjectedFailure(Op::EventReport))
        return false;
    std::vector<std::wstring> wide;
    for (const std::string& insert : inserts)
        wide.push_back(Wide(insert));
    std::vector<LPCWSTR> strings;
    for (const std::wstring& text : wide)
        strings.push_back(text.c_str());
    const std::wstring source = Wide(kEventSource);
    HANDLE log = RegisterEventSourceW(nullptr, source.c_str());
    if (log == nullptr)
        return false;
    const BOOL written = ReportEventW(log, SystemType(type), 0, eventId, nullptr, static_cast<WORD>(strings.size()), 0,
                                      strings.empty() ? nullptr : strings.data(), nullptr);
    const DWORD error = GetLastError();
    DeregisterEventSource(log);
    SetLastError(error);
    return written != FALSE;
}

bool LastReportedEvent(ReportedEvent& event)
{
    std::lock_guard<std::mutex> guard(lastEventLock);
    event = lastEvent;
    return anyEvent;
}

}  // namespace win
