#include "gdt/display_charset.h"

#include "gdt/gdt_line.h"
#include "platform/charset_decoding.h"
#include "platform/cp1252.h"
#include "platform/utf8.h"

#include <array>
#include <optional>

namespace tessaro::gdt {
namespace {

constexpr std::string_view kCharsetField = "9206";

// The Windows-1252 byte of a code point, when Windows-1252 holds it.
bool ToWindows1252(char32_t cp, char& byte) {
    const std::string bytes =
        platform::cp1252::FromUtf8(platform::charset::EncodeUtf8(std::u32string(1, cp)));
    if (bytes.size() != 1 ||
        platform::cp1252::ToUnicode(static_cast<unsigned char>(bytes[0])) != cp)
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
enum Letter : unsigned char { kNone, kIbm437, kWindows1252 };
constexpr std::array<Letter, 256> GermanLetters() {
    std::array<Letter, 256> table{};
    for (std::size_t b : {0x81u, 0x84u, 0x94u, 0x8Eu, 0x99u, 0x9Au, 0xE1u})
        table[b] = kIbm437;
    for (std::size_t b : {0xE4u, 0xF6u, 0xFCu, 0xC4u, 0xD6u, 0xDCu, 0xDFu})
        table[b] = kWindows1252;
    return table;
}
constexpr std::array<Letter, 256> kGermanLetters = GermanLetters();

} // namespace

DisplayCharset DeclaredCharset(std::string_view requestText) {
    return Declaration(requestText).value_or(DisplayCharset::Windows1252);
}

DisplayCharset RequestDisplayCharset(std::string_view requestText) {
    if (const auto declared = Declaration(requestText))
        return *declared;
    // One pass, ended by the first Windows-1252 letter: a request may be huge.
    bool ibm437 = false;
    for (const char c : requestText) {
        const Letter letter = kGermanLetters[static_cast<unsigned char>(c)];
        if (letter == kWindows1252)
            return DisplayCharset::Windows1252;
        ibm437 = ibm437 || letter == kIbm437;
    }
    // UTF-8 holds 84 (in Ä), 94, 99 and 9A as continuation bytes; shown as UTF-8
    // panel by panel.
    if (!ibm437 || platform::utf8::IsMultiByte(requestText))
        return DisplayCharset::Windows1252;
    return DisplayCharset::Ibm437;
}

std::string DecodeForDisplay(std::string_view bytes, DisplayCharset charset) {
    if (platform::utf8::IsMultiByte(bytes))
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
            cp = platform::cp1252::ToUnicode(
                static_cast<unsigned char>(platform::cp1252::ToUpper(byte)));
    }
    return platform::charset::EncodeUtf8(text);
}

} // namespace tessaro::gdt
