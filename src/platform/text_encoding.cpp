#include "platform/text_encoding.h"

#include "platform/cp1252.h"
#include "platform/utf8.h"

namespace tessaro::platform {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8) | b : (b << 8) | a;
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        utf8::Append(out, cp); // a lone surrogate becomes U+FFFD
    }
    if (i < bytes.size())
        utf8::Append(out, 0xFFFD);
    return out;
}

std::string Utf8ToUtf16(std::string_view text, bool bigEndian) {
    std::string out;
    out.reserve(text.size() * 2);
    const auto put = [&](char32_t u) {
        const auto hi = static_cast<char>((u >> 8) & 0xFF);
        const auto lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    };
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        std::size_t len = utf8::SequenceAt(text, i, cp);
        if (len == 0) { // not from a decoded file; kept as the Windows-1252 byte it would be
            cp = cp1252::ToUnicode(static_cast<unsigned char>(text[i]));
            len = 1;
        }
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
        i += len;
    }
    return out;
}

} // namespace

DecodedText DecodeText(std::string_view fileBytes) {
    if (fileBytes.starts_with(kUtf8Bom))
        return {TextEncoding::Utf8Bom, std::string(fileBytes.substr(kUtf8Bom.size()))};
    if (fileBytes.starts_with(kUtf16LeBom))
        return {TextEncoding::Utf16Le, Utf16ToUtf8(fileBytes.substr(2), false)};
    if (fileBytes.starts_with(kUtf16BeBom))
        return {TextEncoding::Utf16Be, Utf16ToUtf8(fileBytes.substr(2), true)};
    if (utf8::IsMultiByte(fileBytes))
        return {TextEncoding::Utf8, std::string(fileBytes)};
    return {TextEncoding::Windows1252, std::string(fileBytes)};
}

std::string EncodeText(std::string_view text, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Windows1252:
    case TextEncoding::Utf8:
        return std::string(text);
    case TextEncoding::Utf8Bom:
        return std::string(kUtf8Bom).append(text);
    case TextEncoding::Utf16Le:
        return std::string(kUtf16LeBom) + Utf8ToUtf16(text, false);
    case TextEncoding::Utf16Be:
        return std::string(kUtf16BeBom) + Utf8ToUtf16(text, true);
    }
    return std::string(text);
}

std::string ToWindows1252(std::string_view text, TextEncoding encoding, bool* lossy) {
    if (encoding == TextEncoding::Windows1252) {
        if (lossy != nullptr)
            *lossy = false;
        return std::string(text);
    }
    std::string bytes = cp1252::FromUtf8(text);
    if (lossy != nullptr)
        *lossy = cp1252::ToUtf8(bytes) != text;
    return bytes;
}

std::string FromWindows1252(std::string_view bytes, TextEncoding encoding) {
    return encoding == TextEncoding::Windows1252 ? std::string(bytes) : cp1252::ToUtf8(bytes);
}

} // namespace tessaro::platform
