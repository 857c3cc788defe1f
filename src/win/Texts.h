#pragma once
// String-table texts from the current resource module: the program itself,
// or the language library loaded at start.
#include <string>

namespace win {

// The module every string, dialog, icon and bitmap is looked up in;
// nullptr means the program's own module.
void SetResourceModule(void* module);
void* ResourceModule();

// The text of a string-table id; empty when the id is missing.
std::string LoadText(unsigned id);

// The text with "%1" and "%2" replaced.
std::string FormatText(unsigned id, const std::string& first, const std::string& second = std::string());

}  // namespace win
