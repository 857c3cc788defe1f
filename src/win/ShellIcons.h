#pragma once
// The shell's system image list and the indexes of its small icons, as
// the folder tree shows them beside drives and folders.
#include <string>

namespace win {

// The system image list of small icons (a HIMAGELIST), asked for through
// the icon of "C:\"; nullptr when the shell gives none. It belongs to the
// shell: it is shown, never destroyed.
void* SystemSmallImageList();

// The small-icon index and the small open-icon index of a file or folder
// in the system image list. False when the shell knows neither.
bool SmallIconIndexes(const std::string& path, int& icon, int& openIcon);

}  // namespace win
