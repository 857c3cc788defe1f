#pragma once
// Texts the save run forms: directory levels, derived paths, the check of
// configured names and its own log lines.
#include <string>
#include <vector>

// The levels of a directory to create one after the other, parent first:
// the text up to each separator ("\" or "/") after its root, and the whole
// text last (E:\bk\2026 gives E:\bk and E:\bk\2026). The root (E:\, a
// leading "\", \\server\share) is never a level; a trailing separator
// adds none.
std::vector<std::string> DirectoryLevels(const std::string& directory);

// A configured name that becomes one part of a path (a database name, a
// database file name of qzpers.ini): false when it holds "\", "/" or ":"
// or "..", by which it could name a place outside its directory.
bool IsPlainName(const std::string& name);

// The web server's configuration directory of the installation's own
// layout: the htdocs path with everything from its first "htdocs" on
// replaced by "conf" (c:\qz_web\htdocs\ gives c:\qz_web\conf). Empty for
// another layout or a path without "htdocs".
std::string WebConfDirectory(const std::string& htdocsLowerCase, bool ownLayout);

// Log lines for sources the run leaves out.
std::string DesktopNotFoundText(const std::string& registryValue);
std::string NoDataDirectoryText();
