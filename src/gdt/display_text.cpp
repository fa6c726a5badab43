#include "gdt/display_text.h"

#include "platform/message_box.h"

namespace tessaro::gdt {
namespace {

unsigned char At(std::string_view s, std::size_t i) {
    return i < s.size() ? static_cast<unsigned char>(s[i]) : 0;
}

// The start of a field for display, cut before kMaxShownBytes without splitting
// a UTF-8 sequence (a few Windows-1252 bytes more or less do not matter there).
std::string_view ShownPart(std::string_view bytes, bool& cut) {
    cut = bytes.size() > kMaxShownBytes;
    if (!cut)
        return bytes;
    std::size_t end = kMaxShownBytes;
    for (int back = 0; back < 3 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80; ++back)
        --end;
    return bytes.substr(0, end);
}

} // namespace

std::string PlainOneLine(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = At(utf8, i);
        const unsigned char c1 = At(utf8, i + 1);
        const unsigned char c2 = At(utf8, i + 2);
        if (c < 0x20 || c == 0x7F) {
            out += ' ';
        } else if (c == 0xC2 && c1 >= 0x80 && c1 <= 0x9F) { // C1 controls
            out += ' ';
            ++i;
        } else if (c == 0xD8 && c1 == 0x9C) { // U+061C arabic letter mark
            ++i;
        } else if (c == 0xE2 && c1 == 0x80 && (c2 == 0x8E || c2 == 0x8F)) { // LRM, RLM
            i += 2;
        } else if (c == 0xE2 && c1 == 0x80 && c2 >= 0xAA && c2 <= 0xAE) { // embeddings, overrides
            i += 2;
        } else if (c == 0xE2 && c1 == 0x81 && c2 >= 0xA6 && c2 <= 0xA9) { // isolates
            i += 2;
        } else if (c == 0xE2 && c1 == 0x80 && (c2 == 0xA8 || c2 == 0xA9)) { // line, paragraph
            out += ' ';
            i += 2;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string ShownPanel(std::string_view panelBytes, DisplayCharset charset) {
    bool cut = false;
    std::string text = PlainOneLine(DecodeForDisplay(ShownPart(panelBytes, cut), charset));
    return cut ? text + "\xE2\x80\xA6" : text; // "…"
}

std::string CaptionText(std::string_view firstNamePanel, std::string_view lastNamePanel,
                        DisplayCharset charset) {
    auto name = [&](std::string_view panel) {
        return UpperForDisplay(
            ShownPanel(panel.size() > 4 ? panel.substr(4) : std::string_view(), charset));
    };
    return std::string(platform::kAppTitle) + " [" + name(firstNamePanel) + " " +
           name(lastNamePanel) + "]";
}

} // namespace tessaro::gdt
