#include "win/WideNames.h"

#include "win/WrappedNames.h"

#include <windows.h>

#include <vector>

namespace win {
namespace {

// Appends the wide form of the bytes; false when they do not convert.
bool AppendWide(UINT codePage, const std::string& bytes, std::wstring& wide)
{
    if (bytes.empty())
        return true;
    const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    if (length <= 0)
        return false;
    const std::size_t at = wide.size();
    wide.resize(at + static_cast<std::size_t>(length));
    return MultiByteToWideChar(codePage, flags, bytes.data(), size, &wide[at], length) == length;
}

// The bytes of the wide text in the code page. The ANSI code page's
// characters are taken without best fit: a character it has no bytes for
// becomes "?", never a look-alike that names something else (a full-width
// "\uFF0E\uFF0E" must not become "..", nor "\u0141" "L"). usedDefault, when
// given, tells whether any character became "?".
std::string Narrow(UINT codePage, const wchar_t* text, std::size_t length, bool* usedDefault = nullptr)
{
    if (usedDefault != nullptr)
        *usedDefault = false;
    if (length == 0)
        return std::string();
    const bool ansi = codePage != CP_UTF8;
    const DWORD flags = ansi ? WC_NO_BEST_FIT_CHARS : 0;
    const char* defaultChar = ansi ? "?" : nullptr;
    BOOL defaulted = FALSE;
    BOOL* defaultedOut = ansi ? &defaulted : nullptr;
    const int size = static_cast<int>(length);
    const int bytes = WideCharToMultiByte(codePage, flags, text, size, nullptr, 0, defaultChar, defaultedOut);
    if (bytes <= 0)
        return std::string();
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, flags, text, size, &narrow[0], bytes, defaultChar, defaultedOut);
    if (usedDefault != nullptr)
        *usedDefault = defaulted != FALSE;
    return narrow;
}

// True when the code-page bytes name exactly these wide characters.
bool GivesBack(const std::string& bytes, const wchar_t* text, std::size_t length)
{
    std::wstring back;
    return AppendWide(CP_ACP, bytes, back) && back.size() == length && back.compare(0, length, text, length) == 0;
}

}  // namespace

std::string ShownText(const std::string& text)
{
    if (!HoldsWrappedRuns(text))
        return text;
    std::vector<NamePiece> pieces;
    SplitWrappedRuns(text, pieces);
    std::string shown;
    for (const NamePiece& piece : pieces) {
        if (!piece.wrapped) {
            shown += piece.bytes;
            continue;
        }
        std::wstring wide;
        if (!AppendWide(CP_UTF8, piece.bytes, wide))
            wide.assign(piece.bytes.size(), L'?');
        shown += Narrow(CP_ACP, wide.data(), wide.size());
    }
    return shown;
}

bool ToWidePath(const std::string& path, std::wstring& wide)
{
    wide.clear();
    bool converted = true;
    if (!HoldsWrappedRuns(path)) {
        converted = AppendWide(CP_ACP, path, wide);
    } else {
        std::vector<NamePiece> pieces;
        converted = SplitWrappedRuns(path, pieces);
        for (std::size_t i = 0; converted && i < pieces.size(); ++i)
            converted = AppendWide(pieces[i].wrapped ? CP_UTF8 : CP_ACP, pieces[i].bytes, wide);
    }
    if (!converted)
        SetLastError(ERROR_INVALID_NAME);
    return converted;
}

std::string FromWide(const wchar_t* text, std::size_t length)
{
    bool defaulted = false;
    const std::string whole = Narrow(CP_ACP, text, length, &defaulted);
    if (!defaulted && GivesBack(whole, text, length))
        return whole;
    // Character by character; a surrogate pair is one character.
    WrappedNameBuilder name;
    for (std::size_t i = 0; i < length;) {
        const std::size_t count =
            IS_HIGH_SURROGATE(text[i]) && i + 1 < length && IS_LOW_SURROGATE(text[i + 1]) ? 2 : 1;
        const std::string bytes = Narrow(CP_ACP, text + i, count, &defaulted);
        if (!defaulted && GivesBack(bytes, text + i, count))
            name.AddCarried(bytes);
        else
            name.AddUncarried(Narrow(CP_UTF8, text + i, count));
        i += count;
    }
    return name.Finish();
}

std::string ToUtf8(const std::string& text)
{
    std::wstring wide;
    if (!ToWidePath(text, wide))
        return "";
    return Narrow(CP_UTF8, wide.data(), wide.size());
}

std::string FromUtf8(const std::string& utf8)
{
    if (utf8.empty())
        return "";
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                                           nullptr, 0);
    if (length <= 0)
        return "";
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), &wide[0], length);
    return FromWide(wide);
}

}  // namespace win
