#include "selection/manual_buttons.h"

#include "platform/text_encoding.h"
#include "platform/trim.h"

#include <optional>
#include <vector>

namespace tessaro::selection::manual {
namespace {

std::vector<std::string_view> Split(std::string_view text, std::string_view sep) {
    std::vector<std::string_view> parts;
    for (;;) {
        const auto at = text.find(sep);
        if (at == std::string_view::npos) {
            parts.push_back(text);
            return parts;
        }
        parts.push_back(text.substr(0, at));
        text.remove_prefix(at + sep.size());
    }
}

// A button number: decimal digits, blanks around them allowed, within 0..65.
std::optional<int> ButtonNumber(std::string_view field) {
    field = platform::TrimSpaces(field);
    if (field.empty() || field.size() > 4)
        return std::nullopt;
    int n = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n >= kButtonCount)
        return std::nullopt;
    return n;
}

} // namespace

Buttons ParseManualButtons(std::string_view fileBytes) {
    Buttons buttons;
    if (fileBytes.empty())
        return buttons;
    // Saved by an editor as UTF-8 or UTF-16, it is read as such.
    const platform::DecodedText decoded = platform::DecodeText(fileBytes);
    const std::string text = platform::ToWindows1252(decoded.text, decoded.encoding);
    for (std::string_view line : Split(text, "\r\n")) {
        const std::vector<std::string_view> fields = Split(line, "|");
        if (fields.size() < 3)
            continue;
        const auto number = ButtonNumber(fields[0]);
        if (!number)
            continue;
        Button& b = buttons[static_cast<std::size_t>(*number)];
        b.visible = true;
        b.caption = std::string(fields[1].substr(0, kMaxCaptionBytes));
        b.code = std::string(fields[2]);
    }
    return buttons;
}

} // namespace tessaro::selection::manual
