// The one Windows-1252 codec: every file Tessaro reads or writes is Windows-1252,
// held as bytes in std::string; conversion to Unicode happens only at the edges.
#pragma once

#include <string>
#include <string_view>

namespace tessaro::platform::cp1252 {

// Unicode code point of one Windows-1252 byte. The five bytes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value,
// so that every byte survives a round trip.
char32_t ToUnicode(unsigned char byte);

// Bytes -> UTF-8, lossless.
std::string ToUtf8(std::string_view bytes);

// UTF-8 -> bytes. A character Windows-1252 cannot hold becomes '?'; invalid UTF-8
// input bytes are taken as Windows-1252 bytes themselves.
std::string FromUtf8(std::string_view utf8);

// A German text literal written in this UTF-8 source, as Windows-1252 bytes.
inline std::string Ansi(std::string_view utf8Literal) {
    return FromUtf8(utf8Literal);
}

// Per-byte upper case within Windows-1252: a-z, à-þ (not ÷), š ž œ ÿ; ß and µ stay.
char ToUpper(char byte);
std::string ToUpper(std::string_view bytes);

// Equal but for case, by ToUpper byte for byte.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

} // namespace tessaro::platform::cp1252
