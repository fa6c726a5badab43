// The encodings a Windows editor saves a text file in. Tessaro writes
// Windows-1252; Notepad saves UTF-8 (with or without a byte order mark) or, as
// "Unicode", UTF-16. A file is read in the encoding it came in and written back
// in the same one, so that the editor and Tessaro can take turns with it.
#pragma once

#include <string>
#include <string_view>

namespace tessaro::platform {

enum class TextEncoding { Windows1252, Utf8, Utf8Bom, Utf16Le, Utf16Be };

struct DecodedText {
    TextEncoding encoding = TextEncoding::Windows1252;
    // Windows-1252 bytes for a Windows-1252 file, UTF-8 for every other one;
    // without the byte order mark.
    std::string text;
};

// UTF-8 or UTF-16 by its byte order mark; UTF-8 without one when the bytes are
// well-formed UTF-8 and hold at least one character beyond ASCII; otherwise
// Windows-1252, untouched. UTF-16 that is not well-formed (an odd byte, a lone
// surrogate) gives U+FFFD there.
DecodedText DecodeText(std::string_view fileBytes);

// The file's bytes for a text in DecodedText's form: the inverse of DecodeText.
std::string EncodeText(std::string_view text, TextEncoding encoding);

// Text of DecodedText's form as the Windows-1252 bytes the core holds; a
// character Windows-1252 lacks becomes "?", and lossy tells whether any did.
std::string ToWindows1252(std::string_view text, TextEncoding encoding, bool* lossy = nullptr);

// Windows-1252 bytes in DecodedText's form for the encoding.
std::string FromWindows1252(std::string_view bytes, TextEncoding encoding);

} // namespace tessaro::platform
