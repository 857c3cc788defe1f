#pragma once
// The start-up step of the main dialog: fills SaveSettings from the
// configuration file, writes the keys a first start finds missing, detects
// the web server, the database server's program directory and the
// installation drive, and decides whether the run is unattended.
#include <string>

// saveDirectoryText is the main dialog's save-directory text. A text of 3 or
// more characters came from the command line and asks for an unattended
// save: it stays as it is. Otherwise it becomes the save directory to show:
// [Config] "LastKeepsetDir", or the default save directory of the
// installation. Reports nothing and cannot fail.
void LoadSaveSettings(std::string& saveDirectoryText);
