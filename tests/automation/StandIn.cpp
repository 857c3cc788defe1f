// qzstandin: put in place of a program the tool starts (notepad.exe,
// ntbackup.exe, rdisk.exe, ...) in the tool's working directory. It only
// notes that it was started: one line "<its file name>|<its arguments>"
// appended to started-programs.txt in its working directory.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main()
{
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, sizeof program);
    const char* name = std::strrchr(program, '\\');
    name = name != nullptr ? name + 1 : program;

    // The command line without the program's own name (quoted or not).
    const char* arguments = GetCommandLineA();
    if (*arguments == '"') {
        arguments = std::strchr(arguments + 1, '"');
        arguments = arguments != nullptr ? arguments + 1 : "";
    } else {
        while (*arguments != '\0' && *arguments != ' ')
            ++arguments;
    }
    while (*arguments == ' ')
        ++arguments;

    std::FILE* record = std::fopen("started-programs.txt", "a");
    if (record == nullptr)
        return 1;
    std::fprintf(record, "%s|%s\n", name, arguments);
    std::fclose(record);
    return 0;
}
