#pragma once
// Reads a dialog template from a module's resources without creating the
// dialog, so tests can look at a dialog's controls with no display (and at
// a language library's copy of it).
#include <string>
#include <vector>

namespace qztest {

struct DialogItem {
    int id = 0;
    std::string className;  // "Button", "Edit", "Static", "ListBox" ... or the class as stored
    std::string text;       // "#136" for a resource ordinal (an icon or picture)
    unsigned long style = 0;
    unsigned long exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplate {
    unsigned long style = 0;
    unsigned long exStyle = 0;
    short cx = 0, cy = 0;
    std::string caption;
    std::string fontName;
    int pointSize = 0;
    std::vector<DialogItem> items;

    // The first item with this id, or nullptr.
    const DialogItem* Item(int id) const;
};

// Reads dialog resource `id` of `module` (nullptr: the program itself);
// both the classic and the extended template form. False when the
// resource is missing or malformed.
bool ReadDialogTemplate(void* module, int id, DialogTemplate& result);

}  // namespace qztest
