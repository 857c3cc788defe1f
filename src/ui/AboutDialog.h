#pragma once
// The About box of the main window's system menu: the program icon, a
// picture, the version line and OK.
#include "win/Dialog.h"

class AboutDialog : public win::Dialog {
public:
    AboutDialog();
};
