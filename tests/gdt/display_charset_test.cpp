// Names shown in the charset the request declares: the declaration as the import
// reads it, the three legacy charsets, the UTF-8 override and the caption's
// upper case.
#include "gdt/display_charset.h"
#include "gdt/request_import.h"
#include "platform/charset_decoding.h"
#include "platform/utf8.h"

#include <gtest/gtest.h>
#include <string>

namespace tessaro::gdt {
namespace {

// Panel 3 as the import fills it, then what the status bar and the caption show.
struct Shown {
    std::string panel;
    std::string caption;
};

Shown ShowLastName(const std::string& request) {
    const auto panels = PanelsFromRequest(request);
    const std::string bytes = panels[2].value_or("NN:");
    const DisplayCharset charset = DeclaredCharset(request);
    return {DecodeForDisplay(bytes, charset),
            UpperForDisplay(DecodeForDisplay(bytes.size() > 4 ? bytes.substr(4) : "", charset))};
}

TEST(DisplayCharset, MuellerInEveryDeclaredCharsetShowsAsMueller) {
    struct Case {
        const char* what;
        std::string request;
    };
    const Case cases[] = {
        {"IBM437 under 9206=2", "01092062\r\n0153101M\x81ller\r\n"},
        {"DIN 66003 under 9206=1", "01092061\r\n0153101M}ller\r\n"},
        {"Windows-1252 without 9206", "0153101M\xFCller\r\n"},
        {"UTF-8 under 9206=3", "01092063\r\n0163101M\xC3\xBCller\r\n"},
        {"UTF-8 under 9206=2", "01092062\r\n0163101M\xC3\xBCller\r\n"},
        {"9206 after the name", "0153101M\x81ller\r\n01092062\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Shown shown = ShowLastName(c.request);
        EXPECT_EQ(shown.panel, "NN: M\xC3\xBCller");
        EXPECT_EQ(shown.caption, "M\xC3\x9CLLER");
    }
}

TEST(DisplayCharset, WithoutDeclarationTheGermanLettersDecide) {
    struct Case {
        const char* what;
        std::string request;
        DisplayCharset charset;
    };
    const Case cases[] = {
        {"M\x81ller", "0153101M\x81ller\r\n", DisplayCharset::Ibm437},
        {"every IBM437 letter", "0173101\x84\x94\x8E\x99\x9A\xE1\r\n", DisplayCharset::Ibm437},
        {"IBM437 in another field", "0153101Meier\r\n0156220R\x94ntgen\r\n",
         DisplayCharset::Ibm437},
        {"Windows-1252 M\xFCller", "0153101M\xFCller\r\n", DisplayCharset::Windows1252},
        {"both kinds of letters", "0153101M\x81ller\r\n0153102J\xFCrg\r\n",
         DisplayCharset::Windows1252},
        {"Garc\xED"
         "a and Jos\xE9",
         "0153101Garc\xED"
         "a\r\n0133102Jos\xE9\r\n",
         DisplayCharset::Windows1252},
        {"plain ASCII", "0133101Meier\r\n", DisplayCharset::Windows1252},
        {"UTF-8 \xC4 holds the byte 84", "0153101\xC3\x84rger\r\n", DisplayCharset::Windows1252},
        {"9206=3 wins over IBM437 bytes", "01092063\r\n0153101M\x81ller\r\n",
         DisplayCharset::Windows1252},
        {"9206=2 wins over Windows-1252 bytes", "01092062\r\n0153101M\xFCller\r\n",
         DisplayCharset::Ibm437},
        {"9206=1 wins", "01092061\r\n0153101M\x81ller\r\n", DisplayCharset::Din66003},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RequestDisplayCharset(c.request), c.charset) << c.what;
    // The caption of an IBM437 request without 9206, as the window builds it.
    const std::string panel = "NN: M\x81ller";
    EXPECT_EQ(UpperForDisplay(
                  DecodeForDisplay(panel.substr(4), RequestDisplayCharset("0153101M\x81ller\r\n"))),
              "M\xC3\x9CLLER");
}

TEST(DisplayCharset, DeclarationIsReadByTheImportsLineRule) {
    EXPECT_EQ(DeclaredCharset(""), DisplayCharset::Windows1252);
    EXPECT_EQ(DeclaredCharset("01092061\r\n"), DisplayCharset::Din66003);
    EXPECT_EQ(DeclaredCharset("01092062\r\n"), DisplayCharset::Ibm437);
    EXPECT_EQ(DeclaredCharset("01092063\r\n"), DisplayCharset::Windows1252);
    // Without a final CR LF the last line still counts.
    EXPECT_EQ(DeclaredCharset("0133000123\r\n01092062"), DisplayCharset::Ibm437);
    // Last declaration wins, as the panels' last occurrence does.
    EXPECT_EQ(DeclaredCharset("01092062\r\n01092061\r\n"), DisplayCharset::Din66003);
    EXPECT_EQ(DeclaredCharset("01092061\r\n01092063\r\n"), DisplayCharset::Windows1252);
    // Values other than 1 and 2, compared exactly, fall back to Windows-1252.
    EXPECT_EQ(DeclaredCharset("01092064\r\n"), DisplayCharset::Windows1252);
    EXPECT_EQ(DeclaredCharset("0109206 2\r\n"), DisplayCharset::Windows1252);
    EXPECT_EQ(DeclaredCharset("01092062 \r\n"), DisplayCharset::Windows1252);
    EXPECT_EQ(DeclaredCharset("0099206\r\n"), DisplayCharset::Windows1252);
    // A line too short for an identifier matches nothing.
    EXPECT_EQ(DeclaredCharset("9206\r\n"), DisplayCharset::Windows1252);
    // LF-only: one line, whose content runs to the end of the file.
    EXPECT_EQ(DeclaredCharset("01092062\n0153101M\x81ller\n"), DisplayCharset::Windows1252);
    EXPECT_EQ(DeclaredCharset("01380006302\n01092062\n"), DisplayCharset::Windows1252);
    // A lone CR does not end a line either.
    EXPECT_EQ(DeclaredCharset("01380006302\r01092062\r\n"), DisplayCharset::Windows1252);
}

TEST(DisplayCharset, LegacyCharsetsDecodeTheGermanLetters) {
    EXPECT_EQ(DecodeForDisplay("[\\]{|}~@", DisplayCharset::Din66003),
              "\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xC2\xA7");
    EXPECT_EQ(DecodeForDisplay("\x8E\x99\x9A\x84\x94\x81\xE1", DisplayCharset::Ibm437),
              "\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F");
    EXPECT_EQ(DecodeForDisplay("\xC4\xD6\xDC\xE4\xF6\xFC\xDF\x80", DisplayCharset::Windows1252),
              "\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xE2\x82\xAC");
    // Under Windows-1252 brackets are brackets.
    EXPECT_EQ(DecodeForDisplay("M}ller [x]", DisplayCharset::Windows1252), "M}ller [x]");
}

TEST(DisplayCharset, BytesFromThePublishedSamplesDecode) {
    // 3106 of the QPCnet sample (CP437 without a declaration).
    EXPECT_EQ(DecodeForDisplay("4000 D\x81sseldorf 12", DisplayCharset::Ibm437),
              "4000 D\xC3\xBCsseldorf 12");
    // 8421 of the optiGDT ECG sample (Windows-1252).
    EXPECT_EQ(DecodeForDisplay("Schl\xE4ge/min.", DisplayCharset::Windows1252),
              "Schl\xC3\xA4ge/min.");
    EXPECT_EQ(DecodeForDisplay("\xB0", DisplayCharset::Windows1252), "\xC2\xB0");
    // 8410 of the CrescNet sample: declared 3, written in UTF-8.
    EXPECT_EQ(DecodeForDisplay("Gr\xC3\xB6\xC3\x9F"
                               "e",
                               DisplayCharset::Windows1252),
              "Gr\xC3\xB6\xC3\x9F"
              "e");
}

TEST(DisplayCharset, OnlyWellFormedMultiByteUtf8OverridesTheDeclaration) {
    // Plain ASCII is no evidence of UTF-8: DIN 66003 still applies.
    EXPECT_EQ(DecodeForDisplay("M}ller", DisplayCharset::Din66003), "M\xC3\xBCller");
    // Ill-formed UTF-8 (truncated, overlong, surrogate, stray continuation) keeps
    // the declared charset.
    EXPECT_EQ(DecodeForDisplay("M\xC3", DisplayCharset::Windows1252), "M\xC3\x83");
    EXPECT_EQ(DecodeForDisplay("\xC0\xBC", DisplayCharset::Windows1252), "\xC3\x80\xC2\xBC");
    EXPECT_EQ(DecodeForDisplay("\xED\xA0\x80", DisplayCharset::Ibm437), "\xCF\x86\xC3\xA1\xC3\x87");
    EXPECT_EQ(DecodeForDisplay("\x81", DisplayCharset::Ibm437), "\xC3\xBC");
    // One well-formed multi-byte sequence is enough, also a four-byte one.
    EXPECT_EQ(DecodeForDisplay("\xF0\x9F\x98\x80", DisplayCharset::Din66003), "\xF0\x9F\x98\x80");
    EXPECT_FALSE(platform::utf8::IsMultiByte(""));
    EXPECT_FALSE(platform::utf8::IsMultiByte("abc"));
    EXPECT_FALSE(platform::utf8::IsMultiByte("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_TRUE(platform::utf8::IsMultiByte("a\xC3\xA4"));
}

TEST(DisplayCharset, EveryByteDecodesToOneCharacterWithoutFailing) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    for (DisplayCharset cs :
         {DisplayCharset::Din66003, DisplayCharset::Ibm437, DisplayCharset::Windows1252}) {
        const std::u32string decoded = platform::charset::DecodeUtf8(DecodeForDisplay(all, cs));
        ASSERT_EQ(decoded.size(), 256u);
        EXPECT_EQ(decoded[0], U'\0');
        EXPECT_EQ(decoded['A'], U'A');
        if (cs == DisplayCharset::Din66003) {
            // Bytes above 0x7F do not exist in the 7-bit charset.
            for (std::size_t b = 0x80; b < 256; ++b)
                EXPECT_EQ(decoded[b], U'\uFFFD') << b;
        } else {
            EXPECT_EQ(decoded.find(U'\uFFFD'), std::u32string::npos);
        }
    }
    // Long input grows the buffer rather than cutting the text.
    const std::string longText(100000, '\xDB');
    EXPECT_EQ(platform::charset::DecodeUtf8(DecodeForDisplay(longText, DisplayCharset::Ibm437)),
              std::u32string(100000, U'\u2588'));
    std::string undefinedRun(3000, '\x90');
    undefinedRun += 'x'; // appended, not concatenated: GCC 12 misreads the temporary's bounds
    EXPECT_EQ(DecodeForDisplay(undefinedRun, DisplayCharset::Din66003).size(), 3000u * 3 + 1);
}

TEST(DisplayCharset, UnknownIconvCharsetFallsBackToWindows1252) {
    EXPECT_EQ(platform::charset::ToUtf8("M\xFCller", "NO-SUCH-CHARSET-TESSARO"), "M\xC3\xBCller");
}

TEST(DisplayCharset, UpperCaseFollowsTheWindows1252RuleForItsCharacters) {
    // a-z, à-þ except ÷, š ž œ ÿ; ß and µ stay.
    EXPECT_EQ(
        UpperForDisplay("m\xC3\xBCller stra\xC3\x9F"
                        "e \xC2\xB5 \xC3\xA0\xC3\xBE\xC3\xB7 \xC5\xA1\xC5\xBE\xC5\x93\xC3\xBF"),
        "M\xC3\x9CLLER STRA\xC3\x9F"
        "E \xC2\xB5 \xC3\x80\xC3\x9E\xC3\xB7 \xC5\xA0\xC5\xBD\xC5\x92\xC5\xB8");
    // Outside Windows-1252 nothing changes: Latin ā, Greek ω, box drawing, U+FFFD.
    EXPECT_EQ(UpperForDisplay("\xC4\x81\xCF\x89\xE2\x96\x88\xEF\xBF\xBD"),
              "\xC4\x81\xCF\x89\xE2\x96\x88\xEF\xBF\xBD");
    EXPECT_EQ(UpperForDisplay(""), "");
    EXPECT_EQ(UpperForDisplay("09 {}[]@"), "09 {}[]@");
}

} // namespace
} // namespace tessaro::gdt
