// Entry point of qzkeepset.exe.
#include "app/BackupApp.h"
#include "save/ClientOptionFile.h"
#include "win/Process.h"

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The arguments as the C runtime's standard parser splits the command
    // line (quotes removed), the program name left out.
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i)
        arguments.emplace_back(__argv[i] != nullptr ? __argv[i] : "");
    RemoveStaleClientOptionFiles();
    BackupApp app;
    const int exitStatus = app.InitInstance(arguments);
    // A save run still at work when the window closed ends here with the
    // process, before anything it uses is torn down; the password file of a
    // dump it may be running goes first.
    RemoveClientOptionFilesInUse();
    win::EndProcess(static_cast<unsigned>(exitStatus));
    return exitStatus;
}
