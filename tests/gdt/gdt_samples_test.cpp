// GDT files published by other projects, read from the shared samples folder at
// test time: import, display and result file for each, byte for byte. The
// expected panels were worked out by hand from the bytes of each file.
#include "config/settings_values.h"
#include "gdt/display_charset.h"
#include "gdt/request_import.h"
#include "gdt/result_writer.h"
#include "platform/files.h"
#include "support/gdt_samples.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "support/worded_startup.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>

namespace tessaro::gdt {
namespace {

namespace stdfs = std::filesystem;

using Panels = std::array<std::optional<std::string>, 3>;

struct Sample {
    const char* file;
    std::uintmax_t size;
    Panels panels;                    // as the import sets them (bytes)
    DisplayCharset charset;           // as the display decides it
    std::array<const char*, 3> shown; // status bar, UTF-8
    const char* caption;              // the names part of the caption, UTF-8
};

// LF-only files are one line starting "0138000...": no panel field is seen and
// no declaration either, so the panels keep their initial texts.
const Sample kSamples[] = {
    {"levinalex-xdt__test__examples__example1.gdt",
     199,
     {},
     DisplayCharset::Windows1252,
     {"ID:", "VN:", "NN:"},
     " "},
    {"levinalex-xdt__test__examples__example2.latin1.gdt",
     217,
     {},
     DisplayCharset::Windows1252,
     {"ID:", "VN:", "NN:"},
     " "},
    {"levinalex-xdt__test__examples__example3.gdt",
     353,
     {"ID: 6-1", "VN: Heinrich", "NN: Appeldorn"},
     DisplayCharset::Ibm437,
     {"ID: 6-1", "VN: Heinrich", "NN: Appeldorn"},
     "HEINRICH APPELDORN"},
    // No 9206, but the 81 of "D\x81sseldorf" reveals IBM437.
    {"levinalex-xdt__test__examples__gdt2_0-1.gdt",
     228,
     {"ID: 98", "VN: Rudolph", "NN: Sierra"},
     DisplayCharset::Ibm437,
     {"ID: 98", "VN: Rudolph", "NN: Sierra"},
     "RUDOLPH SIERRA"},
    {"levinalex-xdt__test__examples__gdt2_1-2.gdt",
     954,
     {"ID: 02345", "VN: Frank", "NN: Mustermann"},
     DisplayCharset::Windows1252,
     {"ID: 02345", "VN: Frank", "NN: Mustermann"},
     "FRANK MUSTERMANN"},
    {"marckurze-XDT-MEDISTAR__TestData__Topcon__CV5000__Patient_mit_Phoropter_Daten.gdt",
     2595,
     {},
     DisplayCharset::Windows1252,
     {"ID:", "VN:", "NN:"},
     " "},
    {"retconx-optigdt__EDV1EKG1.001.gdt",
     821,
     {},
     DisplayCharset::Windows1252,
     {"ID:", "VN:", "NN:"},
     " "},
    {"CrescNet-perl-xdt-parser__examples__example2.gdt",
     480,
     {},
     DisplayCharset::Windows1252,
     {"ID:", "VN:", "NN:"},
     " "},
};

// The names part of the caption: panels 2 and 3 from their fifth character on.
std::string CaptionNames(const std::array<std::string, 3>& panels, DisplayCharset charset) {
    const auto name = [&](const std::string& panel) {
        return UpperForDisplay(DecodeForDisplay(panel.size() > 4 ? panel.substr(4) : "", charset));
    };
    return name(panels[1]) + " " + name(panels[2]);
}

class GdtSamples : public ::testing::TestWithParam<Sample> {
protected:
    void SetUp() override {
        folder_ = test::GdtSamplesDir();
        if (folder_.empty())
            GTEST_SKIP()
                << "no shared/gdt-samples above the source tree and no TESSARO_GDT_SAMPLES";
    }
    std::string PathOf(const Sample& s) const {
        return platform::AnsiPath((folder_ / s.file).string());
    }

    stdfs::path folder_;
};

TEST_P(GdtSamples, ImportShowsWhatTheReadingRuleGives) {
    const Sample& s = GetParam();
    const std::string path = PathOf(s);
    ASSERT_TRUE(stdfs::is_regular_file(folder_ / s.file)) << s.file;
    const std::string bytes = test::Slurp((folder_ / s.file).string());
    ASSERT_EQ(bytes.size(), s.size) << "the published file changed";

    test::RecordingMessageBox messages;
    const ImportResult imported = test::ImportWorded(path, messages);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(imported.requestText, bytes);
    EXPECT_EQ(imported.panels, s.panels);

    const DisplayCharset charset = RequestDisplayCharset(imported.requestText);
    EXPECT_EQ(charset, s.charset);
    std::array<std::string, 3> panels;
    for (std::size_t i = 0; i < 3; ++i) {
        panels[i] = imported.panels[i].value_or(kInitialPanelTexts[i]);
        EXPECT_EQ(DecodeForDisplay(panels[i], charset), s.shown[i]) << "panel " << i + 1;
    }
    EXPECT_EQ(CaptionNames(panels, charset), s.caption);
}

TEST_P(GdtSamples, ResultFileIsTheSampleAndOneLine) {
    const Sample& s = GetParam();
    test::RecordingMessageBox messages;
    const ImportResult imported = test::ImportWorded(PathOf(s), messages);

    test::TempDir target;
    config::ProgramSettings settings;
    settings.PathD = platform::AnsiPath(target.path());
    settings.LumeoID = "001";
    ASSERT_TRUE(WriteResultFile(settings, 7, imported.requestText, "LW2E "));
    EXPECT_TRUE(messages.texts.empty());

    const std::string original = test::Slurp((folder_ / s.file).string());
    EXPECT_EQ(test::Slurp(target.File("001.7.zzz")), original + "0148411LW2E \r\n");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : stdfs::directory_iterator(target.path()))
        ++files;
    EXPECT_EQ(files, 1u);
    // The sample itself is only read.
    EXPECT_EQ(test::Slurp((folder_ / s.file).string()).size(), s.size);
}

// Test names and failure messages name the file, not the bytes of the struct.
void PrintTo(const Sample& s, std::ostream* out) {
    *out << s.file;
}

std::string SampleName(const ::testing::TestParamInfo<Sample>& info) {
    return "Sample" + std::to_string(info.index + 1);
}

INSTANTIATE_TEST_SUITE_P(Published, GdtSamples, ::testing::ValuesIn(kSamples), SampleName);

} // namespace
} // namespace tessaro::gdt
