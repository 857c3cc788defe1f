#include "LanguageLibraries.h"

#include <algorithm>
#include <map>

namespace langtest {
namespace {

// The folder of the test program, with a trailing backslash.
std::string TestProgramFolder()
{
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

}  // namespace

const std::vector<Language>& Languages()
{
    static const std::vector<Language> languages = {{"dt", "German"}, {"fr", "French"}};
    return languages;
}

std::string LibraryName(const Language& language)
{
    return std::string("qzkeep_") + language.code + ".dll";
}

HMODULE LoadLanguageLibrary(const Language& language)
{
    static std::map<std::string, HMODULE> loaded;
    auto found = loaded.find(language.code);
    if (found != loaded.end())
        return found->second;
    const std::string path = TestProgramFolder() + "..\\bin\\" + LibraryName(language);
    HMODULE module = LoadLibraryA(path.c_str());
    loaded[language.code] = module;
    return module;
}

std::string TextOf(HMODULE module, unsigned id)
{
    char buffer[4100];
    const int length = LoadStringA(module, id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring WideTextOf(HMODULE module, unsigned id)
{
    wchar_t buffer[4100];
    const int length = LoadStringW(module, id, buffer, sizeof buffer / sizeof buffer[0]);
    return std::wstring(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::vector<std::string> PlaceholdersOf(const std::string& text)
{
    std::vector<std::string> found;
    for (std::size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 2))
        found.push_back(text.substr(at, 2));
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace langtest
