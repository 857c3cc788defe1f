#pragma once
// Libraries loaded at run time.
#include <string>

namespace win {

// LoadLibraryA with the bare file name, so the system's library search
// finds it (the program's own directory first). The module handle, or
// nullptr when it cannot be loaded. The library stays loaded.
void* LoadResourceLibrary(const std::string& fileName);

}  // namespace win
