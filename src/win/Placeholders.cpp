#include "win/Placeholders.h"

std::string SubstitutePlaceholders(const std::string& text, const std::string& first,
                                   const std::string& second)
{
    std::string result;
    result.reserve(text.size() + first.size() + second.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            result += text[i + 1] == '1' ? first : second;
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}
