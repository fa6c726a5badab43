#include "selection/manual_buttons.h"
#include "support/freeze_limit.h"

#include <chrono>
#include <gtest/gtest.h>
#include <new>

namespace tessaro::selection::manual {
namespace {

using namespace std::string_literals;

TEST(ManualButtonsFault, HundredThousandLinesAreReadQuicklyAndTheLastOneWins) {
    std::string file;
    for (int i = 0; i < 100000; ++i)
        file += std::to_string(i % kButtonCount) + "|Knopf " + std::to_string(i) + "|K" +
                std::to_string(i) + "\r\n";
    const test::ProcessorStopwatch took;
    const Buttons b = ParseManualButtons(file);
    EXPECT_LT(took.Elapsed(), test::kFreezeLimit);
    for (int n = 0; n < kButtonCount; ++n) {
        const int last = 99999 - ((99999 - n) % kButtonCount);
        const auto& button = b[static_cast<std::size_t>(n)];
        EXPECT_TRUE(button.visible);
        EXPECT_EQ(button.caption, "Knopf " + std::to_string(last));
        EXPECT_EQ(button.code, "K" + std::to_string(last));
    }
}

TEST(ManualButtonsFault, NulBytesStayPartOfTheirFieldsAndBreakNothing) {
    const Buttons b =
        ParseManualButtons("3|Cap\0tion|CO\0DE*\r\n\0\0\0\r\n\0|x|y\r\n4\0|x|y\r\n5|\0|\0"s);
    EXPECT_TRUE(b[3].visible);
    EXPECT_EQ(b[3].caption, "Cap\0tion"s);
    EXPECT_EQ(b[3].code, "CO\0DE*"s);
    EXPECT_TRUE(b[5].visible);
    EXPECT_EQ(b[5].caption, "\0"s);
    EXPECT_FALSE(b[0].visible);
    EXPECT_FALSE(b[4].visible);
}

TEST(ManualButtonsFault, NumbersOutOfRangeOrOddlyWrittenAreIgnored) {
    const Buttons b =
        ParseManualButtons("66|a|a\r\n100|a|a\r\n-0|a|a\r\n+1|a|a\r\n4294967298|a|a\r\n"
                           "18446744073709551618|a|a\r\n0x2|a|a\r\n1e1|a|a\r\n2 3|a|a\r\n"
                           "\xB2|a|a\r\n0065|vierstellig|V\r\n 0 |blanks|B");
    for (int n = 1; n < kButtonCount - 1; ++n)
        EXPECT_FALSE(b[static_cast<std::size_t>(n)].visible) << n;
    EXPECT_EQ(b[65].caption, "vierstellig");
    EXPECT_EQ(b[0].caption, "blanks");
}

// A number just past the range must touch no button: not the last or first
// one (a clamp or a wrap would) and not the memory right after the array (a
// bound off by one would write a 67th button there). The buttons are built in
// place in front of a real Button, so such a write shows instead of crashing.
TEST(ManualButtonsFault, NumberPastTheRangeLeavesTheNeighbouringButtonsAlone) {
    struct Row {
        const char* file;
        const char* what;
    };
    for (const Row& row :
         {Row{"66|zu weit|Z", "one past the last"}, Row{"67|zu weit|Z", "two past the last"},
          Row{"132|zu weit|Z", "twice the count"}, Row{"9999|zu weit|Z", "four digits"}}) {
        alignas(Buttons) alignas(Button) unsigned char storage[sizeof(Buttons) + sizeof(Button)];
        auto* after = new (storage + sizeof(Buttons)) Button{false, "danach", "D"};
        auto* b = new (storage) Buttons(ParseManualButtons(row.file));
        for (int n = 0; n < kButtonCount; ++n)
            EXPECT_FALSE((*b)[static_cast<std::size_t>(n)].visible) << row.what << ": " << n;
        EXPECT_FALSE(after->visible) << row.what;
        EXPECT_EQ(after->caption, "danach") << row.what;
        b->~Buttons();
        after->~Button();
    }
}

TEST(ManualButtonsFault, TenMegabytesWithoutALineEndAreOneLine) {
    const std::string file = "7|Lang|" + std::string(10u << 20, 'L');
    const test::ProcessorStopwatch took;
    const Buttons b = ParseManualButtons(file);
    EXPECT_LT(took.Elapsed(), test::kFreezeLimit);
    EXPECT_EQ(b[7].code.size(), 10u << 20);
    EXPECT_EQ(ParseManualButtons(std::string("7|").append(10u << 20, 'C').append("|L"))[7].caption,
              std::string(kMaxCaptionBytes, 'C'));
}

} // namespace
} // namespace tessaro::selection::manual
