#pragma once
// The program as a whole: it chooses the language of its texts, makes sure
// only one main window of the tool is open, takes a save directory from the
// command line and runs the main window until it closes.
#include "win/SharedMutex.h"

#include <memory>
#include <string>
#include <vector>

class BackupApp {
public:
    // The start and the whole run of the program. `arguments` are the
    // command-line arguments as the standard parser delivers them, without
    // the program name. The exit status: 0, or for an unattended save that
    // ends by itself 0 or 1 (errors) from the main window; 1 when the main
    // window cannot be opened or was closed while a save run was at work;
    // 2 when the save directory given is too long; 3 when another copy runs
    // and a save directory was given (0 for a start without one). A start
    // with a save directory shows no box at all: its messages go to the run
    // log.
    int InitInstance(const std::vector<std::string>& arguments);

    // The language library in use; nullptr with the built-in English texts.
    // Once loaded it stays loaded.
    void* LanguageLibrary = nullptr;

private:
    void LoadLanguageLibrary();
    bool AnotherCopyRuns();
    bool BringRunningCopyToFront() const;

    // Held from the first start check to the end of the program.
    std::unique_ptr<win::SharedMutex> instanceMutex_;
};
