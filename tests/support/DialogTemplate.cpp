#include "support/DialogTemplate.h"

#include <windows.h>

#include <cstdlib>

namespace qztest {
namespace {

// Walks the template's WORD-aligned fields, never past its end.
class TemplateReader {
public:
    TemplateReader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    bool Failed() const { return failed_; }

    unsigned Word()
    {
        if (!Has(2))
            return 0;
        unsigned value = data_[at_] | (data_[at_ + 1] << 8);
        at_ += 2;
        return value;
    }

    unsigned long DoubleWord()
    {
        const unsigned long low = Word();
        const unsigned long high = Word();
        return low | (high << 16);
    }

    short Short() { return static_cast<short>(Word()); }

    void AlignTo(std::size_t boundary)
    {
        at_ = (at_ + boundary - 1) / boundary * boundary;
    }

    void Skip(std::size_t bytes)
    {
        if (Has(bytes))
            at_ += bytes;
    }

    // A NUL-terminated UTF-16 string, converted to the ANSI code page.
    std::string String()
    {
        std::wstring wide;
        for (unsigned c = Word(); c != 0 && !failed_; c = Word())
            wide.push_back(static_cast<wchar_t>(c));
        if (wide.empty())
            return std::string();
        const int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0,
                                               nullptr, nullptr);
        std::string text(static_cast<std::size_t>(length), '\0');
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0], length, nullptr,
                            nullptr);
        return text;
    }

    // A field that is empty, an ordinal (0xFFFF then the number, given back
    // as "#n"), or a string.
    std::string NameOrOrdinal()
    {
        if (!Has(2))
            return std::string();
        const unsigned first = data_[at_] | (data_[at_ + 1] << 8);
        if (first == 0xFFFF) {
            Word();
            return "#" + std::to_string(Word());
        }
        return String();
    }

private:
    bool Has(std::size_t bytes)
    {
        if (at_ + bytes > size_)
            failed_ = true;
        return !failed_;
    }

    const unsigned char* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    bool failed_ = false;
};

std::string ControlClassName(const std::string& stored)
{
    static const char* const predefined[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    if (stored.size() > 1 && stored[0] == '#') {
        const int ordinal = std::atoi(stored.c_str() + 1);
        if (ordinal >= 0x80 && ordinal <= 0x85)
            return predefined[ordinal - 0x80];
    }
    return stored;
}

}  // namespace

const DialogItem* DialogTemplate::Item(int id) const
{
    for (const auto& item : items)
        if (item.id == id)
            return &item;
    return nullptr;
}

bool ReadDialogTemplate(void* module, int id, DialogTemplate& result)
{
    result = DialogTemplate();
    HMODULE owner = module != nullptr ? static_cast<HMODULE>(module) : GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(owner, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
    if (found == nullptr)
        return false;
    HGLOBAL loaded = LoadResource(owner, found);
    const auto* data = static_cast<const unsigned char*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (data == nullptr)
        return false;
    TemplateReader in(data, SizeofResource(owner, found));

    // The extended form starts with version 1 and signature 0xFFFF; the
    // classic one with the dialog's style.
    const unsigned long first = in.DoubleWord();
    const bool extended = first == 0xFFFF0001ul;
    if (extended) {
        in.DoubleWord();  // help id
        result.exStyle = in.DoubleWord();
        result.style = in.DoubleWord();
    } else {
        result.style = first;
        result.exStyle = in.DoubleWord();
    }
    const unsigned count = in.Word();
    in.Short();  // x
    in.Short();  // y
    result.cx = in.Short();
    result.cy = in.Short();
    in.NameOrOrdinal();  // menu
    in.NameOrOrdinal();  // class
    result.caption = in.String();
    if (result.style & (DS_SETFONT | DS_SHELLFONT)) {
        result.pointSize = static_cast<int>(in.Word());
        if (extended) {
            in.Word();  // weight
            in.Skip(2);  // italic, character set
        }
        result.fontName = in.String();
    }
    for (unsigned i = 0; i < count && !in.Failed(); ++i) {
        in.AlignTo(4);
        DialogItem item;
        if (extended) {
            in.DoubleWord();  // help id
            item.exStyle = in.DoubleWord();
            item.style = in.DoubleWord();
        } else {
            item.style = in.DoubleWord();
            item.exStyle = in.DoubleWord();
        }
        item.x = in.Short();
        item.y = in.Short();
        item.cx = in.Short();
        item.cy = in.Short();
        item.id = extended ? static_cast<int>(static_cast<long>(in.DoubleWord())) : static_cast<short>(in.Word());
        item.className = ControlClassName(in.NameOrOrdinal());
        item.text = in.NameOrOrdinal();
        const unsigned extra = in.Word();
        in.Skip(extra);
        result.items.push_back(item);
    }
    return !in.Failed();
}

}  // namespace qztest
