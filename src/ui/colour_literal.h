// Colour literals ("&H8000000F", "&H00C0FFC0") as 32-bit values laid out
// 0x00BBGGRR; the top bit set names a system colour by its index.
#pragma once

#include <cstdint>
#include <string_view>

namespace tessaro::ui::colour {

inline constexpr const char* kNotChosen = "&H8000000F"; // button face
inline constexpr const char* kChosen = "&H00C0FFC0";    // light green

// Parses "&H" followed by up to eight hex digits (trailing "&" allowed).
std::uint32_t FromLiteral(std::string_view literal);

inline bool IsSystemColour(std::uint32_t v) {
    return (v & 0x80000000u) != 0;
}
inline int SystemColourIndex(std::uint32_t v) {
    return static_cast<int>(v & 0xFFu);
}
inline int Red(std::uint32_t v) {
    return static_cast<int>(v & 0xFFu);
}
inline int Green(std::uint32_t v) {
    return static_cast<int>((v >> 8) & 0xFFu);
}
inline int Blue(std::uint32_t v) {
    return static_cast<int>((v >> 16) & 0xFFu);
}

} // namespace tessaro::ui::colour
