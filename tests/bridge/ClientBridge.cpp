// Test-only stand-in for the database server's Windows client programs
// (built twice: as mysqldump.exe and as mysql.exe). Started under Wine by
// the program, it runs the Linux client of the same name against the
// private test server (scripts/test-db.sh, socket in QZ_TEST_DB_SOCKET),
// with the Windows paths among its arguments turned into Linux paths, in
// the Linux equivalent of the current directory, and ends with the
// client's exit status.
//
// Standard input and output reach the Linux client as they are: Wine gives
// a program's Unix side the files of its standard input and output handles
// as descriptors 0 and 1, which the client inherits (a dump fed on standard
// input is loaded). Wine does not do so for standard error: when the
// caller gave one file for both output and error, the client's error
// output is sent after its output here.
//
// An option file named first ("--defaults-extra-file=<file>", as the
// program passes a password) is read by the Linux client as its only one
// ("--defaults-file=", so the system's own option files stay out, as
// "--no-defaults" keeps them out otherwise). With QZ_BRIDGE_RECORD set to a
// Windows file name, the bridge appends to that file what it was given:
// "argument: <text>" per argument, then, for an option file,
// "option file: <name>" and its content, and a closing "end" line.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifndef QZ_BRIDGE_CLIENT
#error "QZ_BRIDGE_CLIENT must name the Linux client, such as \"/usr/bin/mysqldump\""
#endif

// No wildcard expansion of the arguments by the C runtime.
extern "C" int _dowildcard;
int _dowildcard = 0;

namespace {

using UnixFileNameFunction = char* (*)(const wchar_t*);
using UnixSpawnFunction = long (*)(char* const argv[], int wait);

const std::string kProgram = QZ_BRIDGE_CLIENT;
// "-r<file>" names the dump's result file for the dump program only (the
// query client reads "-r" as raw output); "-e" gives the query client its
// statements.
const bool kIsDumpProgram = kProgram.size() >= 9 && kProgram.compare(kProgram.size() - 9, 9, "mysqldump") == 0;

// The Linux path of a Windows path; false when Wine knows none (such as
// a path whose directory does not exist).
bool UnixPathOf(const std::string& windowsPath, std::string& unixPath)
{
    static auto function = reinterpret_cast<UnixFileNameFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (function == nullptr || windowsPath.empty())
        return false;
    std::vector<wchar_t> wide(windowsPath.size() + 1);
    if (MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), static_cast<int>(wide.size())) == 0)
        return false;
    char* result = function(wide.data());
    if (result == nullptr)
        return false;
    unixPath = result;
    HeapFree(GetProcessHeap(), 0, result);
    return true;
}

// "X:\..." or "X:/..." or "\..." (the root of the current drive).
bool IsAbsoluteWindowsPath(const std::string& text)
{
    if (text.size() >= 3 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':')
        return text[2] == '\\' || text[2] == '/';
    return text.size() >= 2 && text[0] == '\\' && text[1] != '\\';
}

bool TranslatePath(const std::string& windowsPath, std::string& unixPath)
{
    if (UnixPathOf(windowsPath, unixPath))
        return true;
    std::fprintf(stderr, "bridge: no Linux path for \"%s\"\n", windowsPath.c_str());
    return false;
}

// One argument as the Linux client is to see it.
bool TranslateArgument(const std::string& argument, bool isStatement, std::string& result)
{
    result = argument;
    if (kIsDumpProgram && argument.compare(0, 2, "-r") == 0 && argument.size() > 2) {
        std::string path;
        if (!TranslatePath(argument.substr(2), path))
            return false;
        result = "-r" + path;
    } else if (!kIsDumpProgram && (isStatement || argument.compare(0, 2, "-e") == 0)) {
        const std::string::size_type source = argument.find("source ");
        if (source != std::string::npos && IsAbsoluteWindowsPath(argument.substr(source + 7))) {
            std::string path;
            if (!TranslatePath(argument.substr(source + 7), path))
                return false;
            result = argument.substr(0, source + 7) + path;
        }
    } else if (IsAbsoluteWindowsPath(argument)) {
        return TranslatePath(argument, result);
    }
    return true;
}

const char kOptionFileOption[] = "--defaults-extra-file=";

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

std::string ReadWholeFile(const std::string& windowsPath)
{
    std::string content;
    if (std::FILE* file = std::fopen(windowsPath.c_str(), "rb")) {
        char buffer[4096];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            content.append(buffer, got);
        std::fclose(file);
    }
    return content;
}

void Record(int argc, char** argv)
{
    const char* record = std::getenv("QZ_BRIDGE_RECORD");
    if (record == nullptr || *record == '\0')
        return;
    std::string text;
    for (int i = 1; i < argc; ++i)
        text += std::string("argument: ") + argv[i] + "\n";
    if (argc > 1 && StartsWith(argv[1], kOptionFileOption)) {
        const std::string file = std::string(argv[1]).substr(std::strlen(kOptionFileOption));
        text += "option file: " + file + "\n" + ReadWholeFile(file);
    }
    text += "end\n";
    if (std::FILE* out = std::fopen(record, "ab")) {
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const char* socket = std::getenv("QZ_TEST_DB_SOCKET");
    if (socket == nullptr || *socket == '\0') {
        std::fprintf(stderr, "bridge: QZ_TEST_DB_SOCKET is not set; start the test server with "
                             "eval \"$(scripts/test-db.sh start)\"\n");
        return 2;
    }
    auto spawn = reinterpret_cast<UnixSpawnFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "__wine_unix_spawnvp")));
    if (spawn == nullptr) {
        std::fprintf(stderr, "bridge: runs only under Wine\n");
        return 2;
    }
    char windowsDirectory[MAX_PATH + 1] = {};
    std::string directory;
    GetCurrentDirectoryA(sizeof windowsDirectory, windowsDirectory);
    if (!TranslatePath(windowsDirectory, directory))
        return 2;

    Record(argc, argv);
    std::string defaults = "--no-defaults";
    int first = 1;
    if (argc > 1 && StartsWith(argv[1], kOptionFileOption)) {
        std::string optionFile;
        if (!TranslatePath(std::string(argv[1]).substr(std::strlen(kOptionFileOption)), optionFile))
            return 2;
        defaults = "--defaults-file=" + optionFile;
        first = 2;
    }
    std::vector<std::string> arguments = {"/usr/bin/env", "-C", directory, kProgram, defaults,
                                          std::string("--socket=") + socket};
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error != nullptr && error != INVALID_HANDLE_VALUE && error == GetStdHandle(STD_OUTPUT_HANDLE))
        arguments.insert(arguments.begin(), {"/bin/sh", "-c", "exec \"$@\" 2>&1", "sh"});
    for (int i = first; i < argc; ++i) {
        const bool isStatement = i > 1 && std::string(argv[i - 1]) == "-e";
        std::string translated;
        if (!TranslateArgument(argv[i], isStatement, translated))
            return 2;
        arguments.push_back(translated);
    }
    std::vector<char*> pointers;
    for (auto& argument : arguments)
        pointers.push_back(&argument[0]);
    pointers.push_back(nullptr);
    std::fflush(stdout);
    std::fflush(stderr);
    return static_cast<int>(spawn(pointers.data(), 1));
}
