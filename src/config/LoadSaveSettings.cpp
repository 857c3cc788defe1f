#include "config/LoadSaveSettings.h"
void LoadSaveSettings(std::string&) {}
