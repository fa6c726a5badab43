// Request import from arbitrary bytes: the file is kept byte for byte, the
// panels follow the reading rule, and the display decoding never fails.
#include "fuzz_input.h"
#include "gdt/display_charset.h"
#include "gdt/gdt_line.h"
#include "gdt/request_import.h"
#include "platform/errors.h"
#include "platform/message_box.h"

#include <fstream>

namespace {

using namespace tessaro;

// The reading rule written out independently: cut at CR LF, identifier at 4..7.
std::array<std::optional<std::string>, 3> ExpectedPanels(std::string_view text,
                                                         std::vector<std::string_view>& lines) {
    static constexpr const char* kIds[3] = {"3000", "3102", "3101"};
    static constexpr const char* kPrefixes[3] = {"ID: ", "VN: ", "NN: "};
    std::array<std::optional<std::string>, 3> panels;
    lines.clear();
    if (text.empty())
        return panels;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        const std::string_view line = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        lines.push_back(line);
        if (line.size() >= 7)
            for (int p = 0; p < 3; ++p)
                if (line.substr(3, 4) == kIds[p])
                    panels[static_cast<std::size_t>(p)] =
                        std::string(kPrefixes[p]) + std::string(line.substr(7));
        if (end == std::string_view::npos)
            return panels;
        start = end + 2;
    }
}

void CheckDisplay(const std::string& text) {
    const gdt::DisplayCharset charset = gdt::RequestDisplayCharset(text);
    for (const auto cs : {charset, gdt::DisplayCharset::Din66003, gdt::DisplayCharset::Ibm437,
                          gdt::DisplayCharset::Windows1252}) {
        const std::string shown = gdt::DecodeForDisplay(text, cs);
        fuzz::Check(text.empty() == shown.empty(), "decoding keeps emptiness");
        (void)gdt::UpperForDisplay(shown);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::vector<std::string_view> lines;
    const auto expected = ExpectedPanels(text, lines);
    const std::size_t pieces = lines.size();
    fuzz::Check(gdt::SplitLines(text) == lines, "lines differ from the reading rule", text);
    try {
        const auto panels = gdt::PanelsFromRequest(text);
        fuzz::Check(pieces < 32768, "more than 32767 pieces accepted");
        fuzz::Check(panels == expected, "panels differ from the reading rule", text);
    } catch (const platform::PlatformError& e) {
        fuzz::Check(pieces >= 32768 && e.Number() == 6, "unexpected import failure", e.what());
    }

    // Through the file, as start-up does it.
    const std::string path = fuzz::ScratchDirectory() + "/request.gdt";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    const gdt::ImportResult r = gdt::ReadRequestFile(path);
    const bool reported = r.problem != gdt::ImportResult::Problem::None;
    fuzz::Check(r.requestText == text, "RequestText is not the file byte for byte");
    fuzz::Check(reported == (pieces >= 32768), "unexpected report",
                r.error ? std::string(r.error->what()) : std::string());
    if (!reported)
        fuzz::Check(r.panels == expected, "file import differs from the reading rule");

    for (const auto& panel : expected)
        if (panel)
            CheckDisplay(*panel);
    CheckDisplay(text.substr(0, 4096));
    return 0;
}
