#include "platform/cp1252.h"
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace tessaro::platform {
namespace {

using namespace std::string_literals;

// Every encoding a Windows editor saves in is told apart, read, and given back
// byte for byte; a character Windows-1252 lacks reads as "?" and says so.
TEST(TextEncoding, EditorEncodingsAreToldApartReadAndGivenBackByteForByte) {
    const struct {
        const char* what;
        std::string file;
        TextEncoding encoding;
        std::string ansi; // what the core holds
        bool lossy;
    } rows[] = {
        {"Windows-1252", "K\xFCrzel=M\xFC\r\n", TextEncoding::Windows1252, "K\xFCrzel=M\xFC\r\n",
         false},
        {"ASCII stays Windows-1252", "PathS=/in\r\n", TextEncoding::Windows1252, "PathS=/in\r\n",
         false},
        {"empty", "", TextEncoding::Windows1252, "", false},
        {"UTF-8", "K\xC3\xBCrzel=M\xC3\xBC\r\n", TextEncoding::Utf8, "K\xFCrzel=M\xFC\r\n", false},
        {"UTF-8 with BOM", "\xEF\xBB\xBFK\xC3\xBCrzel=\r\n", TextEncoding::Utf8Bom,
         "K\xFCrzel=\r\n", false},
        {"UTF-8 with BOM, ASCII only", "\xEF\xBB\xBFx=1", TextEncoding::Utf8Bom, "x=1", false},
        {"UTF-8, a character 1252 lacks",
         "PathS=/\xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         TextEncoding::Utf8,
         "PathS=/?\xF3"
         "d?",
         true},
        {"UTF-8, the euro sign", "\xE2\x82\xAC", TextEncoding::Utf8, "\x80", false},
        {"one invalid byte makes it Windows-1252", "\xC3\xBC\xFC", TextEncoding::Windows1252,
         "\xC3\xBC\xFC", false},
        {"UTF-16 LE", "\xFF\xFEK\0\xFC\0=\0\r\0\n\0"s, TextEncoding::Utf16Le, "K\xFC=\r\n", false},
        {"UTF-16 BE", "\xFE\xFF\0K\0\xFC\0="s, TextEncoding::Utf16Be, "K\xFC=", false},
        {"UTF-16 LE beyond the BMP", "\xFF\xFE\x3D\xD8\x00\xDE"s, TextEncoding::Utf16Le, "?", true},
    };
    for (const auto& row : rows) {
        const DecodedText decoded = DecodeText(row.file);
        EXPECT_EQ(decoded.encoding, row.encoding) << row.what;
        bool lossy = !row.lossy;
        EXPECT_EQ(ToWindows1252(decoded.text, decoded.encoding, &lossy), row.ansi) << row.what;
        EXPECT_EQ(lossy, row.lossy) << row.what;
        EXPECT_EQ(EncodeText(decoded.text, decoded.encoding), row.file) << row.what;
        // What the core adds goes back in the file's own encoding.
        const std::string added =
            EncodeText(decoded.text + FromWindows1252("\xFC", decoded.encoding), decoded.encoding);
        const DecodedText again = DecodeText(added);
        EXPECT_EQ(ToWindows1252(again.text, again.encoding), row.ansi + "\xFC") << row.what;
    }
}

} // namespace
} // namespace tessaro::platform
