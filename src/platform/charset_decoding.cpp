#include "platform/charset_decoding.h"

#include "platform/cp1252.h"
#include "platform/single_byte_charset.h"
#include "platform/utf8.h"

#include <array>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace tessaro::platform::charset {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

constexpr char32_t kUndefined = 0xFFFFFFFF;

using ByteTable = std::array<char32_t, 256>;

// One table per charset, built on first use; none for a charset the system
// does not know at all.
const ByteTable* TableFor(const char* name) {
    static std::mutex mutex;
    static std::map<std::string, std::optional<ByteTable>, std::less<>> tables;
    const std::lock_guard<std::mutex> lock(mutex);
    auto it = tables.find(std::string_view(name));
    if (it == tables.end()) {
        ByteTable table;
        bool known = false;
        for (int b = 0; b < 256; ++b) {
            char32_t cp = kUndefined;
            known = ByteToUnicode(name, static_cast<unsigned char>(b), cp) || known;
            table[static_cast<std::size_t>(b)] = cp;
        }
        it = tables.emplace(name, known ? std::optional<ByteTable>(table) : std::nullopt).first;
    }
    return it->second ? &*it->second : nullptr;
}

} // namespace

std::string ToUtf8(std::string_view bytes, const char* charsetName) {
    const ByteTable* table = TableFor(charsetName);
    if (table == nullptr)
        return platform::cp1252::ToUtf8(bytes);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (char c : bytes) {
        const char32_t cp = (*table)[static_cast<unsigned char>(c)];
        if (cp == kUndefined)
            out += kReplacementUtf8;
        else
            platform::utf8::Append(out, cp);
    }
    return out;
}

std::u32string DecodeUtf8(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t len = platform::utf8::SequenceAt(utf8, i, cp);
        out += len == 0 ? kReplacement : cp;
        i += len == 0 ? 1 : len;
    }
    return out;
}

std::string EncodeUtf8(std::u32string_view codePoints) {
    std::string out;
    out.reserve(codePoints.size());
    for (char32_t cp : codePoints)
        platform::utf8::Append(out, cp);
    return out;
}

} // namespace tessaro::platform::charset
