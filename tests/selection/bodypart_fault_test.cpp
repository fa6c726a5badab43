#include "selection/manual_buttons.h"
#include "support/freeze_limit.h"

#include <chrono>
#include <gtest/gtest.h>

namespace tessaro::selection::manual {
namespace {

using namespace std::string_literals;

TEST(BodypartFault, HundredThousandLinesAreReadQuicklyAndTheLastOneWins) {
    std::string file;
    for (int i = 0; i < 100000; ++i)
        file += std::to_string(i % kButtonCount) + "|Knopf " + std::to_string(i) + "|K" +
                std::to_string(i) + "\r\n";
    const auto start = std::chrono::steady_clock::now();
    const Buttons b = ParseBodypart(file);
    EXPECT_LT(std::chrono::steady_clock::now() - start, test::kFreezeLimit);
    for (int n = 0; n < kButtonCount; ++n) {
        const int last = 99999 - ((99999 - n) % kButtonCount);
        const auto& button = b[static_cast<std::size_t>(n)];
        EXPECT_TRUE(button.visible);
        EXPECT_EQ(button.caption, "Knopf " + std::to_string(last));
        EXPECT_EQ(button.code, "K" + std::to_string(last));
    }
}

TEST(BodypartFault, NulBytesStayPartOfTheirFieldsAndBreakNothing) {
    const Buttons b =
        ParseBodypart("3|Cap\0tion|CO\0DE*\r\n\0\0\0\r\n\0|x|y\r\n4\0|x|y\r\n5|\0|\0"s);
    EXPECT_TRUE(b[3].visible);
    EXPECT_EQ(b[3].caption, "Cap\0tion"s);
    EXPECT_EQ(b[3].code, "CO\0DE*"s);
    EXPECT_TRUE(b[5].visible);
    EXPECT_EQ(b[5].caption, "\0"s);
    EXPECT_FALSE(b[0].visible);
    EXPECT_FALSE(b[4].visible);
}

TEST(BodypartFault, NumbersOutOfRangeOrOddlyWrittenAreIgnored) {
    const Buttons b = ParseBodypart("66|a|a\r\n100|a|a\r\n-0|a|a\r\n+1|a|a\r\n4294967298|a|a\r\n"
                                    "18446744073709551618|a|a\r\n0x2|a|a\r\n1e1|a|a\r\n2 3|a|a\r\n"
                                    "\xB2|a|a\r\n0065|vierstellig|V\r\n 0 |blanks|B");
    for (int n = 1; n < kButtonCount - 1; ++n)
        EXPECT_FALSE(b[static_cast<std::size_t>(n)].visible) << n;
    EXPECT_EQ(b[65].caption, "vierstellig");
    EXPECT_EQ(b[0].caption, "blanks");
}

TEST(BodypartFault, TenMegabytesWithoutALineEndAreOneLine) {
    const std::string file = "7|Lang|" + std::string(10u << 20, 'L');
    const auto start = std::chrono::steady_clock::now();
    const Buttons b = ParseBodypart(file);
    EXPECT_LT(std::chrono::steady_clock::now() - start, test::kFreezeLimit);
    EXPECT_EQ(b[7].code.size(), 10u << 20);
    EXPECT_EQ(ParseBodypart(std::string("7|").append(10u << 20, 'C').append("|L"))[7].caption,
              std::string(kMaxCaptionBytes, 'C'));
}

} // namespace
} // namespace tessaro::selection::manual
