// Bodypart.dat from arbitrary bytes, against the file's rules written out
// independently: CR LF lines, "|" fields, numbers 0 to 65, the later line wins.
#include "fuzz_input.h"
#include "selection/manual_buttons.h"

namespace {

using namespace tessaro;

std::vector<std::string_view> Cut(std::string_view text, std::string_view sep) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const auto at = text.find(sep, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos)
            return parts;
        start = at + sep.size();
    }
}

// Blanks around, one to four decimal digits, a value below 66.
int Number(std::string_view f) {
    const auto b = f.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return -1;
    f = f.substr(b, f.find_last_not_of(' ') - b + 1);
    if (f.size() > 4 || f.find_first_not_of("0123456789") != std::string_view::npos)
        return -1;
    const int n = std::stoi(std::string(f));
    return n < selection::manual::kButtonCount ? n : -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const selection::manual::Buttons buttons = selection::manual::ParseManualButtons(text);

    selection::manual::Buttons expected;
    if (!text.empty())
        for (std::string_view line : Cut(text, "\r\n")) {
            const auto fields = Cut(line, "|");
            if (fields.size() < 3)
                continue;
            const int n = Number(fields[0]);
            if (n < 0)
                continue;
            auto& b = expected[static_cast<std::size_t>(n)];
            b.visible = true;
            b.caption = std::string(fields[1]);
            b.code = std::string(fields[2]);
        }
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const auto& b = buttons[i];
        fuzz::Check(b.visible == expected[i].visible && b.caption == expected[i].caption &&
                        b.code == expected[i].code,
                    "button differs from the file rules", std::to_string(i));
        fuzz::Check(b.caption.find('|') == std::string::npos &&
                        b.code.find('|') == std::string::npos,
                    "a field holds the separator");
        fuzz::Check(b.visible || (b.caption.empty() && b.code.empty()),
                    "a hidden button carries text");
    }
    return 0;
}
