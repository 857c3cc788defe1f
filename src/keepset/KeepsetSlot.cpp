#include "keepset/KeepsetSlot.h"

#include "config/LowerCase.h"

std::string KeepsetSectionName(int slot)
{
    return "Save" + std::to_string(slot);
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
        slot.path = LowerCase(saveDirectory);
        if (LowerCase(stored) == slot.path)
            return slot;
    }
    // All taken by other directories: the newest save replaces the last.
    slot.number = kKeepsetSlots;
    return slot;
}
