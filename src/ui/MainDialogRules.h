#pragma once
// The plain rules of the main window: how long its texts may be, the
// colours of the report lines, when the Save command expands date patterns,
// which recovery program it starts and where the minimised icon goes.
#include <cstddef>
#include <string>

// The save-directory text and a report line are held to the size of the
// save run's directory text.
constexpr std::size_t kSaveDirectoryTextLength = 511;
constexpr std::size_t kReportLineLength = 511;

// Colours of the report lines as list item data: red in the low byte.
constexpr unsigned long kSuccessLineColour = 0x00006400ul;  // dark green (0, 100, 0)
constexpr unsigned long kFailureLineColour = 0x000000FFul;  // red (255, 0, 0)

// Whether the save directory holds one of the date patterns DD, MM, YY, WD
// or WW (capitals only); only then is it expanded.
bool ContainsDatePattern(const std::string& saveDirectory);

// "rdisk.exe" on a system whose CurrentVersion is exactly "4.0", else
// "ntbackup.exe" (also when the value could not be read).
std::string RecoveryProgramFor(const std::string& currentVersion);

// Offset of the icon in the minimised window along one axis: centred,
// rounding half a pixel up.
int CentredIconOffset(int clientExtent, int iconExtent);
