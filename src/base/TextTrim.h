#pragma once

#include <string_view>

namespace qm {

// White space as the C library's isspace sees it in the "C" locale.
inline constexpr std::string_view kWhiteSpace = " \t\n\r\f\v";
// Blanks of a text line: spaces, tabs and line ends.
inline constexpr std::string_view kLineBlanks = " \t\r\n";

// The text without the given characters at either end.
constexpr std::string_view Trim(std::string_view text, std::string_view blanks = kWhiteSpace) {
    while (!text.empty() && blanks.find(text.front()) != std::string_view::npos)
        text.remove_prefix(1);
    while (!text.empty() && blanks.find(text.back()) != std::string_view::npos)
        text.remove_suffix(1);
    return text;
}

} // namespace qm
