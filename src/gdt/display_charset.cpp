#include "gdt/display_charset.h"

#include "gdt/gdt_line.h"
#include "platform/charset_codec.h"
#include "platform/codec.h"

namespace tessaro::gdt {
namespace {

constexpr std::string_view kCharsetField = "9206";

// The Windows-1252 byte of a code point, when Windows-1252 holds it.
bool ToWindows1252(char32_t cp, char& byte) {
    const std::string bytes = platform::cp1252::FromUtf8(platform::charset::EncodeUtf8(std::u32string(1, cp)));
    if (bytes.size() != 1 || platform::cp1252::ToUnicode(static_cast<unsigned char>(bytes[0])) != cp)
        return false;
    byte = bytes[0];
    return true;
}

} // namespace

DisplayCharset DeclaredCharset(std::string_view requestText) {
    DisplayCharset charset = DisplayCharset::Windows1252;
    for (std::string_view line : SplitLines(requestText)) {
        if (FieldId(line) != kCharsetField)
            continue;
        const std::string_view value = Content(line);
        charset = value == "1"   ? DisplayCharset::Din66003
                  : value == "2" ? DisplayCharset::Ibm437
                                 : DisplayCharset::Windows1252;
    }
    return charset;
}

std::string DecodeForDisplay(std::string_view bytes, DisplayCharset charset) {
    if (platform::charset::IsMultiByteUtf8(bytes))
        return std::string(bytes);
    switch (charset) {
    case DisplayCharset::Din66003:
        return platform::charset::ToUtf8(bytes, "DIN_66003");
    case DisplayCharset::Ibm437:
        return platform::charset::ToUtf8(bytes, "IBM437");
    case DisplayCharset::Windows1252:
        break;
    }
    return platform::cp1252::ToUtf8(bytes);
}

std::string UpperForDisplay(std::string_view utf8) {
    std::u32string text = platform::charset::DecodeUtf8(utf8);
    for (char32_t& cp : text) {
        char byte = 0;
        if (ToWindows1252(cp, byte))
            cp = platform::cp1252::ToUnicode(static_cast<unsigned char>(platform::cp1252::ToUpper(byte)));
    }
    return platform::charset::EncodeUtf8(text);
}

} // namespace tessaro::gdt
