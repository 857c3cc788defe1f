#pragma once
// The keepset list of the configuration file: sections [Save1] to [Save19],
// each describing one earlier save. An entry whose Path is empty is a free
// slot, and the list ends at the first free slot.
#include <string>
#include <vector>

constexpr int kKeepsetSlots = 19;

// "Save1" ... "Save19".
std::string KeepsetSectionName(int slot);

struct KeepsetSlot {
    int number = 1;         // 1 to kKeepsetSlots
    std::string path;       // the Path text both records receive
};

// Chooses the list entry for a save into saveDirectory, given the Path
// values of [Save1] onwards (a value beyond the end counts as empty).
// The first entry that is free or names the same directory, compared
// without regard to case, is taken; with every entry holding another
// directory the save replaces the last one. The comparison lower-cases the
// save directory itself, so once [Save1] is taken the Path written is the
// lower-cased directory; the first save ever keeps its case.
KeepsetSlot ChooseKeepsetSlot(const std::vector<std::string>& storedPaths,
                              const std::string& saveDirectory);
