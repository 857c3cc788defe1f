#include "keepset/RunEvents.h"

#include "keepset/ManifestFormat.h"
#include "save/Reports.h"
#include "win/Files.h"
#include "win/TextLines.h"

void WriteRunEvent(const RunEvent& event, const std::function<void(const std::string&)>& logLine)
{
    if (!win::WriteEvent(event.type, event.id, event.inserts))
        logLine(EventFailedLine(event.id, win::LastError()));
}

void ReportSaveEvent(const std::string& saveDirectory, int status)
{
    // Counted, not held: a manifest of any length is one line at a time.
    std::uint64_t files = 0;
    if (!saveDirectory.empty() && (status == 0 || status == 1)) {
        const std::string separator = !saveDirectory.empty() && saveDirectory.back() == '\\' ? "" : "\\";
        win::ReadFileLines(saveDirectory + separator + kManifestFileName, [&files](const std::string& line) {
            if (!line.empty() && line != "\r")
                ++files;
            return true;
        });
    }
    WriteRunEvent(SaveRunEvent(saveDirectory, status, files), AppendRunLogLine);
}
