#pragma once
// Texts the save run forms: command lines, derived paths and its own log
// lines.
#include <string>

// "md <directory>" for the command interpreter, which creates every missing
// level. The directory is quoted when it holds a blank or a character the
// interpreter would act on (& | < > ^ ( ) , ; =), so such a name is created
// as one directory and nothing after it runs as a command.
std::string MakeDirectoryCommand(const std::string& directory);

// The web server's configuration directory of the installation's own
// layout: the htdocs path with everything from its first "htdocs" on
// replaced by "conf" (c:\qz_web\htdocs\ gives c:\qz_web\conf). Empty for
// another layout or a path without "htdocs".
std::string WebConfDirectory(const std::string& htdocsLowerCase, bool ownLayout);

// Log lines for sources the run leaves out.
std::string DesktopNotFoundText(const std::string& registryValue);
std::string NoDataDirectoryText();
std::string KeepsetNotMarkedText();
