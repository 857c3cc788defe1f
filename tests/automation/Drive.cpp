// qzdrive: drives a running program from a shell, one step per call.
//
//   qzdrive window <title> [ms]              waits for the window; prints its handle
//   qzdrive text <title> <id>                prints a control's text
//   qzdrive settext <title> <id> <text>      sets a control's text
//   qzdrive click <title> <id>               clicks a button
//   qzdrive enabled <title> <id>             exit status 0 when the control is enabled
//   qzdrive list <title> <id>                prints each list line as "<item data in hex> <text>"
//   qzdrive box <caption> <button id> [ms]   waits for a message box, prints its text, presses the button
//   qzdrive run <ms> <command line>          starts a program, waits, exits with its exit status
//
// Exit status 0 on success, 1 when a window or box was not found in time
// or a program did not end, 2 for a wrong call.
#include "Automation.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int Usage()
{
    std::fputs("usage: qzdrive window|text|settext|click|enabled|list|box|run ...\n", stderr);
    return 2;
}

DWORD WaitArgument(int argc, char** argv, int index)
{
    return argc > index ? static_cast<DWORD>(std::strtoul(argv[index], nullptr, 10)) : qzauto::kDefaultWait;
}

HWND Window(const char* title)
{
    const HWND window = qzauto::WaitForWindow(title);
    if (window == nullptr)
        std::fprintf(stderr, "qzdrive: no window \"%s\"\n", title);
    return window;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return Usage();
    const std::string command = argv[1];
    if (command == "run") {
        if (argc < 4)
            return Usage();
        std::string line;
        for (int i = 3; i < argc; ++i)
            line += (i > 3 ? " " : "") + std::string(argv[i]);
        qzauto::Program program;
        DWORD exitCode = 0;
        if (!program.Start(line) || !program.WaitForExit(exitCode, WaitArgument(argc, argv, 2)))
            return 1;
        return static_cast<int>(exitCode);
    }
    if (command == "box") {
        if (argc < 4)
            return Usage();
        const HWND box = qzauto::WaitForMessageBox(argv[2], 0, WaitArgument(argc, argv, 4));
        if (box == nullptr)
            return 1;
        std::printf("%s\n", qzauto::MessageBoxText(box).c_str());
        qzauto::PressButton(box, std::atoi(argv[3]));
        return 0;
    }
    const HWND window = Window(argv[2]);
    if (window == nullptr)
        return 1;
    if (command == "window") {
        std::printf("%p\n", static_cast<void*>(window));
        return 0;
    }
    if (argc < 4)
        return Usage();
    const int id = std::atoi(argv[3]);
    if (command == "text") {
        std::printf("%s\n", qzauto::ControlText(window, id).c_str());
    } else if (command == "settext" && argc >= 5) {
        qzauto::SetControlText(window, id, argv[4]);
    } else if (command == "click") {
        qzauto::ClickButton(window, id);
    } else if (command == "enabled") {
        return qzauto::IsControlEnabled(window, id) ? 0 : 1;
    } else if (command == "list") {
        for (const auto& line : qzauto::ListLines(window, id))
            std::printf("%08lx %s\n", line.data, line.text.c_str());
    } else {
        return Usage();
    }
    return 0;
}
