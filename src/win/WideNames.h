#pragma once
// The system's wide-character names and the program's byte-string paths
// (see win/WrappedNames.h for the form of a name the ANSI code page cannot
// carry).
#include <cstddef>
#include <string>

namespace win {

// The text as the run log, the report lines and boxes show it: every
// wrapped run in the ANSI code page's own form (a "?" for each character it
// has nothing for, as the system's ANSI calls give the name). A text
// without wrapped runs comes back as it is.
std::string ShownText(const std::string& text);

// For the layer: a path in the system's wide characters, its plain pieces
// read in the ANSI code page and its wrapped runs as UTF-8. False, with
// ERROR_INVALID_NAME as the thread's last error, when the wrapping is broken
// or a piece does not convert.
bool ToWidePath(const std::string& path, std::wstring& wide);

// For the layer: a name or path the system gave in wide characters, in the
// program's form: the ANSI code page's bytes where they give the same name
// back, wrapped UTF-8 for the characters they do not.
std::string FromWide(const wchar_t* text, std::size_t length);
inline std::string FromWide(const std::wstring& text)
{
    return FromWide(text.data(), text.size());
}

// A text in the program's form as UTF-8, and UTF-8 back in the program's
// form: the keepset's manifest holds its paths in UTF-8, so that a name in
// any script reads the same to the checksum tools. A text that does not
// convert comes back empty.
std::string ToUtf8(const std::string& text);
std::string FromUtf8(const std::string& utf8);

}  // namespace win
