// What the operator reads of a name: one plain line whatever bytes the request
// holds, cut before it can hold the window up, upper case in the caption.
#include "gdt/display_text.h"

#include <gtest/gtest.h>

namespace tessaro::gdt {
namespace {

TEST(DisplayText, ControlsShowAsABlankAndBidiFormatCharactersAreLeftOut) {
    using namespace std::string_literals;
    const std::pair<std::string, std::string> cases[] = {
        {"M\tM\rM\nM\0M"s, "M M M M M"},
        {"\x1B[31m\x7F\x01\x1F", " [31m   "},
        {"C1\xC2\x85Z\xE2\x80\xA8"
         "2",
         "C1 Z 2"}, // U+0085, U+2028
        {"\xE2\x80\xAEnella\xE2\x80\xAC\xE2\x81\xA6"
         "a\xE2\x81\xA9",
         "nellaa"},                                   // RLO PDF LRI PDI
        {"\xE2\x80\x8Fx\xE2\x80\x8E\xD8\x9Cy", "xy"}, // RLM, LRM, ALM
        {"M\xC3\xBCller \xE2\x80\x93 \xE2\x82\xAC", "M\xC3\xBCller \xE2\x80\x93 \xE2\x82\xAC"},
    };
    for (const auto& [utf8, shown] : cases)
        EXPECT_EQ(PlainOneLine(utf8), shown) << utf8;
}

TEST(DisplayText, PanelsAndCaptionAreOnePlainLineCutInTime) {
    const DisplayCharset cp = DisplayCharset::Windows1252;
    EXPECT_EQ(CaptionText("VN: J\xFCrgen", "NN: M\xFCller", cp),
              "Velt - Tessaro [J\xC3\x9CRGEN M\xC3\x9CLLER]");
    EXPECT_EQ(CaptionText("VN:", "NN:", cp), "Velt - Tessaro [ ]");
    // A UTF-8 name with a right-to-left override, and an ESC in the other.
    EXPECT_EQ(CaptionText("VN: \xE2\x80\xAEnna",
                          "NN: a\x1B"
                          "b",
                          cp),
              "Velt - Tessaro [NNA A B]");
    // An LF-only request: the first line's field runs to the end of the file.
    const std::string lfOnly = "ID: 4711\n0153101Muster\n" + std::string(600, 'x');
    EXPECT_EQ(ShownPanel(lfOnly, cp),
              "ID: 4711 0153101Muster " + std::string(kMaxShownBytes - 23, 'x') + "\xE2\x80\xA6");
}

} // namespace
} // namespace tessaro::gdt
