// Decoding of the other 8-bit charsets a GDT file may declare (DIN 66003, IBM437)
// through the system's charset tables (single_byte_charset.h), and the UTF-8 helpers that display
// decisions need. Windows-1252 itself stays with cp1252.h.
#pragma once

#include <string>
#include <string_view>

namespace tessaro::platform::charset {

// Bytes in the named single-byte charset (iconv's name) -> UTF-8. A byte the charset does not
// define becomes U+FFFD and decoding goes on after it. Where the system lacks the charset, the
// bytes are read as Windows-1252 instead of showing nothing.
std::string ToUtf8(std::string_view bytes, const char* iconvCharset);

// Code points of UTF-8 text; each byte of an ill-formed sequence gives U+FFFD.
std::u32string DecodeUtf8(std::string_view utf8);
std::string EncodeUtf8(std::u32string_view codePoints);

} // namespace tessaro::platform::charset
