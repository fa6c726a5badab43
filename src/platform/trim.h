// Cutting white space off both ends of Windows-1252 text. Each reader of a file
// counts different bytes as white space, so each kind has its own name; the
// name says which bytes go.
#pragma once

#include <string_view>

namespace tessaro::platform {

// Removes every leading and trailing byte that is one of blanks.
constexpr std::string_view TrimAny(std::string_view text, std::string_view blanks) {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// " " only (Bodypart.dat button numbers).
constexpr std::string_view TrimSpaces(std::string_view text) {
    return TrimAny(text, " ");
}
// " " and TAB (Settings.ini flags).
constexpr std::string_view TrimSpacesAndTabs(std::string_view text) {
    return TrimAny(text, " \t");
}
// " ", TAB, CR and LF (the counter file).
constexpr std::string_view TrimSpacesTabsAndLineEnds(std::string_view text) {
    return TrimAny(text, " \t\r\n");
}
// " ", TAB, CR, LF, VT and FF: C's isspace in the C locale (INI names and values).
constexpr std::string_view TrimCWhiteSpace(std::string_view text) {
    return TrimAny(text, " \t\r\n\v\f");
}

} // namespace tessaro::platform
