#pragma once
// Which directory entries the settings dialog lists. An entry is recognised
// by its whole attribute value, not by the directory bit alone, so a
// hidden, read-only or system directory is never offered; names beginning
// with "." ("." and ".." among them) never are either.
#include <string>

// A database of the MySQL data directory: a plain directory (16) and
// nothing else; an entry with the archive attribute is not a database.
bool IsDatabaseEntry(const std::string& name, unsigned long attributes);

// A sub-directory of the htdocs directory: a plain directory (16) or one
// with the archive attribute (48).
bool IsHtdocsSubDirectoryEntry(const std::string& name, unsigned long attributes);
