#pragma once
// A drive letter mapped to a folder (see MapDrive) that the system also
// lists among its drives, so that the drive list of the folder browser
// shows it: a link in the prefix's dosdevices alone is not listed by a
// Wine whose services started before it.
#include <string>

namespace qztest {

void MapListedDrive(char letter, const std::string& windowsFolder);
void UnmapListedDrive(char letter);

}  // namespace qztest
