// What the operator reads of a name: one plain line whatever bytes the request
// holds, cut before it can hold the window up, upper case in the caption.
#include "gdt/display_text.h"

#include <gtest/gtest.h>

namespace tessaro::gdt {
namespace {

TEST(DisplayText, ControlsShowAsABlankAndBidiFormatCharactersAreLeftOut) {
    using namespace std::string_literals;
    const struct {
        std::string utf8;
        std::string shown;
    } cases[] = {
        {"M\tM\rM\nM", "M M M M"},
        {"a\0b"s, "a b"},
        {"\x1B[31mRot", " [31mRot"},
        {"x\x7Fy\x01z\x1F", "x y z "},
        {"C1\xC2\x85Z", "C1 Z"}, // U+0085 next line
        {"Zeile\xE2\x80\xA8"
         "2",
         "Zeile 2"},                                // U+2028
        {"\xE2\x80\xAEnella\xE2\x80\xAC", "nella"}, // RLO ... PDF
        {"\xE2\x81\xA6"
         "a\xE2\x81\xA9"
         "b\xE2\x81\xA7",
         "ab"},                                       // isolates
        {"\xE2\x80\x8Fx\xE2\x80\x8E\xD8\x9Cy", "xy"}, // RLM, LRM, ALM
        {"M\xC3\xBCller \xE2\x80\x93 \xE2\x82\xAC", "M\xC3\xBCller \xE2\x80\x93 \xE2\x82\xAC"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlainOneLine(c.utf8), c.shown) << c.utf8;
}

TEST(DisplayText, PanelsAndCaptionAreOnePlainLineCutInTime) {
    const DisplayCharset cp = DisplayCharset::Windows1252;
    EXPECT_EQ(ShownPanel("NN: M\xFCller", cp), "NN: M\xC3\xBCller");
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
    const std::string lfOnly = "ID: 4711\n0153101Muster\n0143102Anna\n" + std::string(600, 'x');
    const std::string shown = ShownPanel(lfOnly, cp);
    EXPECT_EQ(shown, "ID: 4711 0153101Muster 0143102Anna " + std::string(kMaxShownBytes - 35, 'x') +
                         "\xE2\x80\xA6");
    EXPECT_EQ(shown.find('\n'), std::string::npos);
}

} // namespace
} // namespace tessaro::gdt
