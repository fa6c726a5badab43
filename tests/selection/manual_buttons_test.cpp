#include "platform/cp1252.h"
#include "selection/manual_buttons.h"

#include <gtest/gtest.h>

namespace tessaro::selection::manual {
namespace {

std::vector<int> Visible(const Buttons& b) {
    std::vector<int> v;
    for (int i = 0; i < kButtonCount; ++i)
        if (b[static_cast<std::size_t>(i)].visible)
            v.push_back(i);
    return v;
}

TEST(ManualButtons, ExampleFile) {
    const std::string file =
        platform::cp1252::Ansi("0|Thorax in 2 Eb.|TH2E\r\n1|Hand in 2 Eb.|HA2E*\r\n"
                               "6|Schädel a.p.|SCHAP");
    const Buttons b = ParseManualButtons(file);
    EXPECT_EQ(Visible(b), std::vector<int>({0, 1, 6}));
    EXPECT_EQ(b[1].caption, "Hand in 2 Eb.");
    EXPECT_EQ(b[1].code, "HA2E*");
    EXPECT_EQ(b[6].caption, "Sch\xE4"
                            "del a.p.");
}

TEST(ManualButtons, LaterLineWinsFieldsKeptAsTheyStand) {
    const Buttons b =
        ParseManualButtons("3|Old|O\r\n3| New & more | N \r\n4||C|extra|more\r\n5|E|");
    EXPECT_EQ(Visible(b), std::vector<int>({3, 4, 5}));
    EXPECT_EQ(b[3].caption, " New & more ");
    EXPECT_EQ(b[3].code, " N ");
    EXPECT_EQ(b[4].caption, "");
    EXPECT_EQ(b[4].code, "C");
    EXPECT_EQ(b[5].code, "");
}

TEST(ManualButtons, MalformedLinesAreIgnored) {
    const Buttons b = ParseManualButtons("\r\n"
                                         "7|only two\r\n"
                                         "x|Cap|C\r\n"
                                         "-1|Cap|C\r\n"
                                         "66|Cap|C\r\n"
                                         "99999999999999999999|Cap|C\r\n"
                                         "1.5|Cap|C\r\n"
                                         "|Cap|C\r\n"
                                         "65|Last|L\r\n");
    EXPECT_EQ(Visible(b), std::vector<int>({65}));
    EXPECT_TRUE(Visible(ParseManualButtons("")).empty());
}

TEST(ManualButtons, LfOnlyFileIsOneLine) {
    const Buttons b = ParseManualButtons("0|A|AA\n1|B|BB\n");
    EXPECT_EQ(Visible(b), std::vector<int>({0}));
    EXPECT_EQ(b[0].code, "AA\n1");
}

TEST(ManualButtons, EditorEncodingsAreReadAsSuch) {
    using namespace std::string_literals;
    const struct {
        const char* what;
        std::string file;
    } rows[] = {
        {"Windows-1252", "6|Sch\xE4"
                         "del|SCH\xC4*"},
        {"UTF-8", "6|Sch\xC3\xA4"
                  "del|SCH\xC3\x84*"},
        {"UTF-8 with BOM", "\xEF\xBB\xBF"
                           "6|Sch\xC3\xA4"
                           "del|SCH\xC3\x84*"},
        {"UTF-16 LE", "\xFF\xFE"
                      "6\0|\0S\0c\0h\0\xE4\0d\0e\0l\0|\0S\0C\0H\0\xC4\0*\0"s},
    };
    for (const auto& row : rows) {
        const Buttons b = ParseManualButtons(row.file);
        EXPECT_EQ(Visible(b), std::vector<int>({6})) << row.what;
        EXPECT_EQ(b[6].caption, "Sch\xE4"
                                "del")
            << row.what;
        EXPECT_EQ(b[6].code, "SCH\xC4*") << row.what;
    }
    // A character Windows-1252 lacks reads as "?".
    EXPECT_EQ(ParseManualButtons("1|\xC5\x81\xC3\xB3"
                                 "d\xC5\xBA|L")[1]
                  .caption,
              "?\xF3"
              "d?");
}

} // namespace
} // namespace tessaro::selection::manual
