#include "win/Texts.h"

#include "win/Placeholders.h"

#include <windows.h>

#include <atomic>

namespace win {
namespace {

std::atomic<HINSTANCE> resourceModule{nullptr};

}  // namespace

void SetResourceModule(void* module)
{
    resourceModule = static_cast<HINSTANCE>(module);
}

void* ResourceModule()
{
    HINSTANCE module = resourceModule;
    return module != nullptr ? module : GetModuleHandleA(nullptr);
}

std::string LoadText(unsigned id)
{
    // A string-table entry holds at most 4097 characters.
    char buffer[4100];
    const int length = LoadStringA(static_cast<HINSTANCE>(ResourceModule()), id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string FormatText(unsigned id, const std::string& first, const std::string& second)
{
    return SubstitutePlaceholders(LoadText(id), first, second);
}

}  // namespace win
