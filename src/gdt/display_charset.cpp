#include "gdt/display_charset.h"

#include "gdt/gdt_line.h"
#include "platform/charset_codec.h"
#include "platform/codec.h"

#include <optional>

namespace tessaro::gdt {
namespace {

constexpr std::string_view kCharsetField = "9206";

// The Windows-1252 byte of a code point, when Windows-1252 holds it.
bool ToWindows1252(char32_t cp, char& byte) {
    const std::string bytes = cp1252::FromUtf8(charset::EncodeUtf8(std::u32string(1, cp)));
    if (bytes.size() != 1 || cp1252::ToUnicode(static_cast<unsigned char>(bytes[0])) != cp)
        return false;
    byte = bytes[0];
    return true;
}

// The charset of the last 9206 line, nothing when there is none.
std::optional<DisplayCharset> Declaration(std::string_view requestText) {
    std::optional<DisplayCharset> charset;
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

// German letters where each charset has them; the two sets share no byte.
constexpr std::string_view kIbm437German = "\x81\x84\x94\x8E\x99\x9A\xE1";
constexpr std::string_view kWindows1252German = "\xE4\xF6\xFC\xC4\xD6\xDC\xDF";

} // namespace

DisplayCharset DeclaredCharset(std::string_view requestText) {
    return Declaration(requestText).value_or(DisplayCharset::Windows1252);
}

DisplayCharset RequestDisplayCharset(std::string_view requestText) {
    if (const auto declared = Declaration(requestText))
        return *declared;
    if (charset::IsMultiByteUtf8(requestText))
        return DisplayCharset::Windows1252; // shown as UTF-8 panel by panel
    const bool ibm437 = requestText.find_first_of(kIbm437German) != std::string_view::npos;
    const bool windows1252 =
        requestText.find_first_of(kWindows1252German) != std::string_view::npos;
    return ibm437 && !windows1252 ? DisplayCharset::Ibm437 : DisplayCharset::Windows1252;
}

std::string DecodeForDisplay(std::string_view bytes, DisplayCharset charset) {
    if (charset::IsMultiByteUtf8(bytes))
        return std::string(bytes);
    switch (charset) {
    case DisplayCharset::Din66003:
        return charset::ToUtf8(bytes, "DIN_66003");
    case DisplayCharset::Ibm437:
        return charset::ToUtf8(bytes, "IBM437");
    case DisplayCharset::Windows1252:
        break;
    }
    return cp1252::ToUtf8(bytes);
}

std::string UpperForDisplay(std::string_view utf8) {
    std::u32string text = charset::DecodeUtf8(utf8);
    for (char32_t& cp : text) {
        char byte = 0;
        if (ToWindows1252(cp, byte))
            cp = cp1252::ToUnicode(static_cast<unsigned char>(cp1252::ToUpper(byte)));
    }
    return charset::EncodeUtf8(text);
}

} // namespace tessaro::gdt
