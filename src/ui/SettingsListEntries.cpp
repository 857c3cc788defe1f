#include "ui/SettingsListEntries.h"

namespace {

constexpr unsigned long kPlainDirectory = 0x10;
constexpr unsigned long kArchivedDirectory = 0x10 | 0x20;

bool BeginsWithDot(const std::string& name)
{
    return !name.empty() && name[0] == '.';
}

}  // namespace

bool IsDatabaseEntry(const std::string& name, unsigned long attributes)
{
    return attributes == kPlainDirectory && !BeginsWithDot(name);
}

bool IsHtdocsSubDirectoryEntry(const std::string& name, unsigned long attributes)
{
    return (attributes == kPlainDirectory || attributes == kArchivedDirectory) && !BeginsWithDot(name);
}
