#pragma once
// The language libraries as the program finds them: qzkeep_dt.dll and
// qzkeep_fr.dll in bin, beside qzkeepset.exe (tests run from build/win/tests).
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace langtest {

struct Language {
    const char* code;  // "dt", "fr"
    const char* name;  // for test names
};

const std::vector<Language>& Languages();

// How a language appears in test names and messages.
inline void PrintTo(const Language& language, std::ostream* out)
{
    *out << language.code;
}

// The library's file name, "qzkeep_<code>.dll".
std::string LibraryName(const Language& language);

// Loads the library from bin once and keeps it loaded, as the program
// does; nullptr when it cannot be loaded.
HMODULE LoadLanguageLibrary(const Language& language);

// A string-table text of `module` as the program reads it (ANSI), and as
// stored (UTF-16).
std::string TextOf(HMODULE module, unsigned id);
std::wstring WideTextOf(HMODULE module, unsigned id);

// The placeholders of a text ("%1", "%2", "%s" ...) in sorted order.
std::vector<std::string> PlaceholdersOf(const std::string& text);

}  // namespace langtest
