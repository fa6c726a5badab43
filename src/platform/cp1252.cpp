#include "platform/cp1252.h"

#include "platform/single_byte_charset.h"
#include "platform/utf8.h"

#include <array>
#include <unordered_map>

namespace tessaro::platform::cp1252 {
namespace {

struct Table {
    std::array<char32_t, 256> toUnicode{};
    std::unordered_map<char32_t, unsigned char> fromUnicode;
};

// The system's charset tables already hold Windows-1252; asking them once per
// byte keeps a second, hand-typed copy out of the code. Bytes they reject are
// the undefined ones and stay themselves (as C1 controls), so nothing is lost
// either way.
Table BuildTable() {
    Table t;
    for (int b = 0; b < 256; ++b) {
        char32_t cp = static_cast<char32_t>(b);
        platform::charset::ByteToUnicode("CP1252", static_cast<unsigned char>(b), cp);
        t.toUnicode[static_cast<std::size_t>(b)] = cp;
        t.fromUnicode.emplace(cp, static_cast<unsigned char>(b));
    }
    return t;
}

const Table& TheTable() {
    static const Table table = BuildTable();
    return table;
}

} // namespace

char32_t ToUnicode(unsigned char byte) {
    return TheTable().toUnicode[byte];
}

std::string ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        platform::utf8::Append(out, ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string FromUtf8(std::string_view utf8) {
    const auto& from = TheTable().fromUnicode;
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t len = platform::utf8::SequenceAt(utf8, i, cp);
        if (len == 0) {
            out += utf8[i];
            ++i;
            continue;
        }
        const auto it = from.find(cp);
        out += it != from.end() ? static_cast<char>(it->second) : '?';
        i += len;
    }
    return out;
}

char ToUpper(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    if (b >= 'a' && b <= 'z')
        return static_cast<char>(b - 0x20);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) // à..þ without ÷
        return static_cast<char>(b - 0x20);
    switch (b) {
    case 0x9A: // š
        return static_cast<char>(0x8A);
    case 0x9C: // œ
        return static_cast<char>(0x8C);
    case 0x9E: // ž
        return static_cast<char>(0x8E);
    case 0xFF: // ÿ
        return static_cast<char>(0x9F);
    default: // ß and µ have no single-byte capital
        return byte;
    }
}

std::string ToUpper(std::string_view bytes) {
    std::string out(bytes);
    for (char& c : out)
        c = ToUpper(c);
    return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ToUpper(a[i]) != ToUpper(b[i]))
            return false;
    return true;
}

} // namespace tessaro::platform::cp1252
