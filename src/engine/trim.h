#pragma once

#include <string_view>

namespace tessaly {

// The text without the blanks, tabs and line breaks around it.
constexpr std::string_view TrimBlanks(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace tessaly
