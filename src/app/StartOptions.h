#pragma once
// What the program takes from its command line and from [Config]
// "DefaultLanguage" at start.
#include <cstddef>
#include <string>
#include <vector>

// The longest save directory the command line may give.
constexpr std::size_t kSaveDirectoryArgumentLength = 127;

struct SaveDirectoryArgument {
    // The save directory asked for; empty when there is none.
    std::string directory;
    // The directory is longer than kSaveDirectoryArgumentLength: it is
    // refused whole, because a cut path would name another directory.
    bool tooLong = false;
};

// From the arguments as the standard parser delivers them (quotes removed,
// the program name left out): the first one that is no switch (a switch
// begins with "/" or "-"), and only when it holds a backslash. An argument
// such as "backup" asks for nothing.
SaveDirectoryArgument FindSaveDirectoryArgument(const std::vector<std::string>& arguments);

// The language library named by [Config] "DefaultLanguage": "qzkeep_dt.dll"
// for exactly "DT", "qzkeep_fr.dll" for exactly "FR", else empty (the
// built-in English texts).
std::string LanguageLibraryName(const std::string& defaultLanguage);

// The name of the mutex a running copy holds from its start to its end,
// the same in every language, in the global namespace so that a copy in
// another session counts as well, and so the installer can find a
// running copy by it (an open that succeeds or is denied both mean one
// runs).
constexpr const char* kSingleInstanceMutexName = "Global\\QzkeepsetRunningCopy";

// "/verify [DIR]" (also "-verify", any case): check keepsets instead of
// opening the window.
struct VerifyArgument {
    bool asked = false;
    // The keepset directory, date patterns still in it; empty for every
    // keepset of the list.
    std::string directory;
};

// The verify switch anywhere among the arguments, and the first argument
// that is no switch as its directory.
VerifyArgument FindVerifyArgument(const std::vector<std::string>& arguments);
