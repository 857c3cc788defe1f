#include "ui/AboutDialog.h"

#include "resource.h"

// No parent window: it is opened from the system menu like a window of its own.
AboutDialog::AboutDialog() : Dialog(IDD_ABOUT) {}
