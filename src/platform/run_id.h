// Bytes as lower-case hex, shared by the platforms' run identifiers.
#pragma once

#include <cstddef>
#include <string>

namespace tessaro::platform {

inline std::string HexOf(const unsigned char* bytes, std::size_t size) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        text += kHex[bytes[i] >> 4];
        text += kHex[bytes[i] & 15];
    }
    return text;
}

} // namespace tessaro::platform
