#pragma once
// The program as a whole: it chooses the language of its texts, makes sure
// only one main window of the tool is open, takes a save directory from the
// command line and runs the main window until it closes.
#include <string>
#include <vector>

class BackupApp {
public:
    // The start and the whole run of the program. `arguments` are the
    // command-line arguments as the standard parser delivers them, without
    // the program name. The exit status: 0, or for an unattended save that
    // ends by itself 0 or 1 (errors) from the main window; 1 when the main
    // window cannot be opened or was closed while a save run was at work;
    // 2 when the save directory given is too long.
    int InitInstance(const std::vector<std::string>& arguments);

    // The language library in use; nullptr with the built-in English texts.
    // Once loaded it stays loaded.
    void* LanguageLibrary = nullptr;

private:
    void LoadLanguageLibrary();
    bool BringRunningCopyToFront() const;
};
