// Each trim removes its own white space and nothing else; the case-blind compare
// follows the Windows-1252 upper case.
#include "platform/cp1252.h"
#include "platform/trim.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

TEST(Trim, EachKindRemovesOnlyItsOwnBlanks) {
    const std::string_view text = "\v\r\n\t x \t\n\r\f";
    EXPECT_EQ(platform::TrimSpaces(" \t x \t "), "\t x \t");
    EXPECT_EQ(platform::TrimSpacesAndTabs("\r\t x y\t \n"), "\r\t x y\t \n");
    EXPECT_EQ(platform::TrimSpacesAndTabs(" \t x y\t "), "x y");
    EXPECT_EQ(platform::TrimSpacesTabsAndLineEnds(text), text); // VT and FF are not its blanks
    EXPECT_EQ(platform::TrimSpacesTabsAndLineEnds("\r\n 41\t\r\n"), "41");
    EXPECT_EQ(platform::TrimCWhiteSpace(text), "x");
    EXPECT_EQ(platform::TrimCWhiteSpace(" \t "), "");
    EXPECT_EQ(platform::TrimSpaces(""), "");
}

TEST(Trim, CaseBlindCompareUsesTheWindows1252UpperCase) {
    EXPECT_TRUE(platform::cp1252::EqualsIgnoringCase("True", "tRUE"));
    EXPECT_TRUE(platform::cp1252::EqualsIgnoringCase("K\xFCrzel", "K\xDCRZEL")); // ü / Ü
    EXPECT_FALSE(platform::cp1252::EqualsIgnoringCase("stra\xDF"
                                                      "e",
                                                      "STRASSE"));
    EXPECT_FALSE(platform::cp1252::EqualsIgnoringCase("true", "true "));
}

} // namespace
} // namespace tessaro
