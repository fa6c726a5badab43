#include "platform/cp1252.h"

#include <gtest/gtest.h>
#include <initializer_list>

namespace tessaro::platform::cp1252 {
namespace {

std::string AllBytes() {
    std::string s;
    for (int b = 0; b < 256; ++b)
        s += static_cast<char>(b);
    return s;
}

TEST(Cp1252, EveryByteSurvivesTheRoundTripThroughUtf8) {
    const std::string bytes = AllBytes();
    EXPECT_EQ(FromUtf8(ToUtf8(bytes)), bytes);
}

TEST(Cp1252, MapsTheWindowsRangeAndKeepsUndefinedBytesAsControls) {
    EXPECT_EQ(ToUnicode(0x80), U'\u20AC'); // €
    EXPECT_EQ(ToUnicode(0x82), U'\u201A'); // ‚
    EXPECT_EQ(ToUnicode(0x84), U'\u201E'); // „
    EXPECT_EQ(ToUnicode(0x85), U'\u2026'); // …
    EXPECT_EQ(ToUnicode(0x8A), U'\u0160'); // Š
    EXPECT_EQ(ToUnicode(0x9F), U'\u0178'); // Ÿ
    EXPECT_EQ(ToUnicode(0xE4), U'\u00E4'); // ä
    EXPECT_EQ(ToUnicode(0xFC), U'\u00FC'); // ü
    for (const unsigned char undefined :
         std::initializer_list<unsigned char>{0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(ToUnicode(undefined), static_cast<char32_t>(undefined));
}

TEST(Cp1252, Utf8LiteralsBecomeSingleBytes) {
    EXPECT_EQ(Ansi("Kürzel"), "K\xFCrzel");
    EXPECT_EQ(Ansi("Steißb."), "Stei\xDF"
                               "b.");
    EXPECT_EQ(Ansi("€"), "\x80");
    EXPECT_EQ(ToUtf8("Sch\xE4"
                     "del"),
              "Schädel");
}

TEST(Cp1252, UnrepresentableAndMalformedInput) {
    EXPECT_EQ(FromUtf8("a\u0142b"), "a?b");      // ł has no Windows-1252 byte
    EXPECT_EQ(FromUtf8("a\xE4z"), "a\xE4z");     // stray byte taken as itself
    EXPECT_EQ(FromUtf8("\xC3"), "\xC3");         // truncated sequence
    EXPECT_EQ(FromUtf8("\xC0\xAE"), "\xC0\xAE"); // overlong form refused
}

TEST(Cp1252, UpperCaseWithinWindows1252) {
    EXPECT_EQ(ToUpper(Ansi("äöüàéþ")), Ansi("ÄÖÜÀÉÞ"));
    EXPECT_EQ(ToUpper(Ansi("šžœÿ")), Ansi("ŠŽŒŸ"));
    EXPECT_EQ(ToUpper(Ansi("ß µ ÷ 1-z")), Ansi("ß µ ÷ 1-Z"));
    // Every byte maps to a byte whose upper case is itself.
    for (int b = 0; b < 256; ++b) {
        const char up = ToUpper(static_cast<char>(b));
        EXPECT_EQ(ToUpper(up), up) << b;
    }
}

} // namespace
} // namespace tessaro::platform::cp1252
