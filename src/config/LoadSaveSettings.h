#pragma once
#include <string>
// Fills SaveSettings from the configuration file at start (see .cpp).
void LoadSaveSettings(std::string& saveDirectoryText);
