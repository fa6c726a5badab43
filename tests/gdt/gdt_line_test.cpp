#include "gdt/gdt_line.h"
#include "platform/cp1252.h"

#include <gtest/gtest.h>

namespace tessaro::gdt {
namespace {

TEST(FormatGdtLine, LengthFieldCountsContentPlusNine) {
    EXPECT_EQ(FormatGdtLine("8411", "BW2E"), "0138411BW2E\r\n");
    EXPECT_EQ(FormatGdtLine("8411", "A").substr(0, 3), "010");
    EXPECT_EQ(FormatGdtLine("8411", std::string(90, 'x')).substr(0, 3), "099");
    EXPECT_EQ(FormatGdtLine("8411", std::string(91, 'x')).substr(0, 3), "100");
    const std::string longest = FormatGdtLine("6227", std::string(990, 'x'));
    EXPECT_EQ(longest.substr(0, 7), "9996227");
    EXPECT_EQ(longest.size(), 999u);
    EXPECT_THROW(FormatGdtLine("8411", std::string(991, 'x')), ContentTooLong);
}

TEST(FormatGdtLine, ContentGoesInUnchangedOneByteEach) {
    const std::string content = platform::cp1252::Ansi("LW2E | Schädel ß ");
    const std::string line = FormatGdtLine("8411", content);
    EXPECT_EQ(line, "0268411" + content + "\r\n");
    EXPECT_EQ(line.size(), 26u);
    EXPECT_EQ(FormatGdtLine("8411", ""), "");
    EXPECT_EQ(FormatGdtLine("", ""), "");
    EXPECT_EQ(FormatGdtLine("12", "x"), "01012x\r\n"); // identifier not validated
}

TEST(ReadingRule, CutsAtCrLfOnly) {
    EXPECT_TRUE(SplitLines("").empty());
    const auto lines = SplitLines("a\rb\r\nc\nd\r\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "a\rb");
    EXPECT_EQ(lines[1], "c\nd");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(SplitLines("\r\n\r\n").size(), 3u);
    EXPECT_EQ(SplitLines("no end").size(), 1u);
}

TEST(ReadingRule, FieldAndContentIgnoreTheLengthField) {
    EXPECT_EQ(FieldId("014300012345"), "3000");
    EXPECT_EQ(Content("014300012345"), "12345");
    EXPECT_EQ(FieldId("999300012345"), "3000"); // a wrong length changes nothing
    EXPECT_EQ(FieldId("0093000"), "3000");
    EXPECT_EQ(Content("0093000"), "");
    EXPECT_EQ(FieldId("009300"), "");
    EXPECT_EQ(FieldId(""), "");
    EXPECT_EQ(Content("01130"), "");
}

} // namespace
} // namespace tessaro::gdt
