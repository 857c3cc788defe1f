#include "win/WrappedNames.h"

namespace win {

bool HoldsWrappedRuns(const std::string& text)
{
    return text.find_first_of(std::string{kWrapStart, kWrapEnd}) != std::string::npos;
}

bool SplitWrappedRuns(const std::string& text, std::vector<NamePiece>& pieces)
{
    pieces.clear();
    bool paired = true;
    NamePiece current;
    const auto flush = [&] {
        if (!current.bytes.empty())
            pieces.push_back(current);
        current.bytes.clear();
    };
    for (const char c : text) {
        if (c == kWrapStart || c == kWrapEnd) {
            const bool opens = c == kWrapStart;
            if (opens == current.wrapped) {
                paired = false;
                continue;
            }
            flush();
            current.wrapped = opens;
        } else {
            current.bytes += c;
        }
    }
    if (current.wrapped)
        paired = false;
    flush();
    return paired;
}

void WrappedNameBuilder::AddCarried(const std::string& codePageBytes)
{
    if (open_)
        text_ += kWrapEnd;
    open_ = false;
    text_ += codePageBytes;
}

void WrappedNameBuilder::AddUncarried(const std::string& utf8)
{
    if (!open_)
        text_ += kWrapStart;
    open_ = true;
    text_ += utf8;
}

std::string WrappedNameBuilder::Finish()
{
    if (open_)
        text_ += kWrapEnd;
    open_ = false;
    std::string name;
    name.swap(text_);
    return name;
}

}  // namespace win
