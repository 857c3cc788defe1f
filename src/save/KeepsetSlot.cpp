#include "save/KeepsetSlot.h"

std::string KeepsetSectionName(int slot)
{
    return "Save" + std::to_string(slot);
}

std::string LowerCased(const std::string& text)
{
    std::string lower = text;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

KeepsetSlot ChooseKeepsetSlot(const std::vector<std::string>& storedPaths,
                              const std::string& saveDirectory)
{
    KeepsetSlot slot;
    slot.path = saveDirectory;
    for (int n = 1; n <= kKeepsetSlots; ++n) {
        const std::size_t index = static_cast<std::size_t>(n - 1);
        const std::string stored = index < storedPaths.size() ? storedPaths[index] : std::string();
        slot.number = n;
        if (stored.empty())
            return slot;
        slot.path = LowerCased(saveDirectory);
        if (LowerCased(stored) == slot.path)
            return slot;
    }
    // All taken by other directories: the newest save replaces the last.
    slot.number = kKeepsetSlots;
    return slot;
}
