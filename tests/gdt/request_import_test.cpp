#include "gdt/gdt_line.h"
#include "gdt/request_import.h"
#include "platform/cp1252.h"
#include "support/gdt_samples.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "support/worded_startup.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tessaro::gdt {
namespace {

using test::Spit;

class RequestImport : public ::testing::Test {
protected:
    ImportResult Import(const std::string& bytes) {
        Spit(path, bytes);
        return test::ImportWorded(path, messages);
    }

    test::TempDir tmp;
    std::string path = tmp.File("request.gdt");
    test::RecordingMessageBox messages;
};

TEST_F(RequestImport, PanelsFromTheThreeFieldsInAnyOrder) {
    const std::string text = "01380006301\r\n" + FormatGdtLine("3101", "Mustermann") +
                             FormatGdtLine("3000", "12345") + FormatGdtLine("3102", "Erika");
    const ImportResult r = Import(text);
    EXPECT_EQ(r.requestText, text);
    EXPECT_EQ(r.panels[0], "ID: 12345");
    EXPECT_EQ(r.panels[1], "VN: Erika");
    EXPECT_EQ(r.panels[2], "NN: Mustermann");
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(RequestImport, LastOccurrenceWinsAndAbsentFieldsStayUnset) {
    const ImportResult r = Import(FormatGdtLine("3101", "Alt") + "0093000\r\n" +
                                  FormatGdtLine("3101", platform::cp1252::Ansi("Müller ")));
    EXPECT_EQ(r.panels[0], "ID: ");
    EXPECT_FALSE(r.panels[1].has_value());
    EXPECT_EQ(r.panels[2], platform::cp1252::Ansi("NN: Müller "));
}

TEST_F(RequestImport, EveryByteIsKept) {
    using namespace std::string_literals;
    std::string text = FormatGdtLine("3000", "1") + "0173101A\rB\nC\0D\r\n"s;
    for (int b = 0x80; b <= 0xFF; ++b)
        text += static_cast<char>(b);
    text += "\n\r";
    const ImportResult r = Import(text);
    EXPECT_EQ(r.requestText, text);
    EXPECT_EQ(r.panels[2], "NN: A\rB\nC\0D"s);
}

TEST_F(RequestImport, LfOnlyFileIsOneLine) {
    const std::string text = "0143000123\n0153101Name\n";
    const ImportResult r = Import(text);
    EXPECT_EQ(r.panels[0], "ID: 123\n0153101Name\n");
    EXPECT_FALSE(r.panels[2].has_value());
}

TEST_F(RequestImport, EmptyFileGivesNothingAndNoMessage) {
    const ImportResult r = Import("");
    EXPECT_EQ(r.requestText, "");
    EXPECT_FALSE(r.panels[0] || r.panels[1] || r.panels[2]);
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(RequestImport, UnreadableFileIsReportedWithLineBreak) {
    std::filesystem::create_directory(path);
    const ImportResult r = test::ImportWorded(path, messages);
    EXPECT_EQ(r.requestText, "");
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0].rfind("Es ist ein Fehler aufgetreten.\r\n", 0), 0u);

    messages.texts.clear();
    test::ImportWorded(tmp.File("missing.gdt"), messages);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], "Es ist ein Fehler aufgetreten.\r\n53 - Datei nicht gefunden");
}

TEST_F(RequestImport, TooManyPiecesIsAnOverflowThatKeepsTheText) {
    std::string text = FormatGdtLine("3000", "7");
    for (int i = 1; i < 32767; ++i)
        text += "\r\n";
    ASSERT_EQ(SplitLines(text).size(), 32768u);
    const ImportResult r = Import(text);
    EXPECT_EQ(r.requestText, text);
    EXPECT_FALSE(r.panels[0].has_value());
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0],
              platform::cp1252::Ansi("Es ist ein Fehler aufgetreten.\r\n6 - Überlauf"));

    messages.texts.clear();
    text.resize(text.size() - 2); // one piece fewer is still fine
    EXPECT_EQ(Import(text).panels[0], "ID: 7");
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(RequestImport, RealSampleFiles) {
    const std::string dir = test::GdtSamplesDir();
    if (dir.empty())
        GTEST_SKIP() << "no shared/gdt-samples above the source tree and no TESSARO_GDT_SAMPLES";
    const ImportResult crlf =
        test::ImportWorded(dir + "/levinalex-xdt__test__examples__gdt2_1-2.gdt", messages);
    EXPECT_EQ(crlf.panels[1], "VN: Frank");
    EXPECT_EQ(crlf.panels[2], "NN: Mustermann");
    EXPECT_EQ(crlf.requestText, test::Slurp(dir + "/levinalex-xdt__test__examples__gdt2_1-2.gdt"));

    const ImportResult lf =
        test::ImportWorded(dir + "/levinalex-xdt__test__examples__example1.gdt", messages);
    EXPECT_FALSE(lf.panels[0] || lf.panels[1] || lf.panels[2]);
    EXPECT_TRUE(messages.texts.empty());
}

} // namespace
} // namespace tessaro::gdt
