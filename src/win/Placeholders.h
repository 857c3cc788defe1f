#pragma once
// "%1" and "%2" in a text replaced by the given strings, as string-table
// texts use them. Other "%" characters stay as they are.
#include <string>

std::string SubstitutePlaceholders(const std::string& text, const std::string& first,
                                   const std::string& second = std::string());
