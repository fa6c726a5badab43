#include "gdt/request_import.h"
#include "gdt/result_writer.h"
#include "platform/cp1252.h"
#include "platform/errors.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "support/worded_startup.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tessaro::gdt {
namespace {

using test::Slurp;
using test::Spit;

class ResultWriter : public ::testing::Test {
protected:
    ResultWriter() {
        settings.PathD = tmp.File("out");
        std::filesystem::create_directory(settings.PathD);
    }

    // Each write a run of its own: what the last one left is cleared first.
    bool Write(const std::string& text, const std::string& code, std::int16_t n = 7) {
        std::error_code ignored;
        std::filesystem::remove(TemporaryFileName(settings, n), ignored);
        return WriteResultFile(settings, n, text, code).has_value();
    }

    test::TempDir tmp;
    config::ProgramSettings settings;
    test::RecordingMessageBox messages;
    const std::string request = "01380006301\r\n0143000123456\r\n";
};

TEST_F(ResultWriter, NamesFollowLumeoIdAndNumber) {
    settings.LumeoID = "L9";
    EXPECT_EQ(TemporaryFileName(settings, 7), tmp.File("out/L9.7.zzz"));
    EXPECT_EQ(FinalFileName(settings, -3), tmp.File("out/L9.-3.gdt"));
    settings.Suffix = "XYZ"; // plays no part
    EXPECT_EQ(FinalFileName(settings, 12), tmp.File("out/L9.12.gdt"));
}

TEST_F(ResultWriter, RequestThenOneLineWithFieldByStudyDesc) {
    ASSERT_TRUE(Write(request, "BW2E"));
    EXPECT_EQ(Slurp(tmp.File("out/001.7.zzz")), request + "0138411BW2E\r\n");
    settings.StudyDesc = true;
    ASSERT_TRUE(Write(request, "LW2E "));
    EXPECT_EQ(Slurp(tmp.File("out/001.7.zzz")), request + "0146227LW2E \r\n");
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(ResultWriter, EmptyCodeAddsNothingAndNoLineEndIsInserted) {
    ASSERT_TRUE(Write(request, ""));
    EXPECT_EQ(Slurp(tmp.File("out/001.7.zzz")), request);
    ASSERT_TRUE(Write("0143000123456", "TH2E"));
    EXPECT_EQ(Slurp(tmp.File("out/001.7.zzz")), "01430001234560138411TH2E\r\n");
}

TEST_F(ResultWriter, RequestBytesCarriedThroughImportUnchanged) {
    std::string bytes = "0143000123456\r\nlone\rCR\nlone LF";
    bytes += std::string(1, '\0');
    for (int b = 0x80; b <= 0xFF; ++b)
        bytes += static_cast<char>(b);
    Spit(tmp.File("req.gdt"), bytes);
    const ImportResult imported = test::ImportWorded(tmp.File("req.gdt"), messages);
    ASSERT_TRUE(Write(imported.requestText, platform::cp1252::Ansi("Schädel")));
    EXPECT_EQ(Slurp(tmp.File("out/001.7.zzz")), bytes + "0168411Sch\xE4"
                                                        "del\r\n");
}

// Another workplace may be writing under the same name: its file is never
// removed or written over.
TEST_F(ResultWriter, FileOfTheSameNameIsLeftAlone) {
    const std::string theirs(5000, 'o');
    Spit(tmp.File("out/001.7.zzz"), theirs);
    try {
        WriteResultFile(settings, 7, request, "HWIN");
        ADD_FAILURE() << "a taken name was written";
    } catch (const platform::PlatformError& e) {
        EXPECT_EQ(e.Number(), static_cast<int>(platform::ErrorNumber::FileExists));
    }
    EXPECT_EQ(Slurp(tmp.File("out/001.7.zzz")), theirs);
}

TEST_F(ResultWriter, MissingTargetDirectoryCreatesNothing) {
    Spit(tmp.File("file"), "x");
    for (const std::string& folder : {tmp.File("absent"), tmp.File("file"), std::string()}) {
        settings.PathD = folder;
        EXPECT_EQ(ResultFileCanBeWritten(settings, "BW2E"), ResultRefusal::TargetFolderMissing);
        EXPECT_FALSE(Write(request, "BW2E")) << folder;
    }
    EXPECT_FALSE(std::filesystem::exists(tmp.File("absent")));
    EXPECT_EQ(Slurp(tmp.File("file")), "x");
    EXPECT_TRUE(std::filesystem::is_empty(tmp.File("out")));
}

TEST_F(ResultWriter, OverlongCodeIsRefusedWithoutAFile) {
    ASSERT_TRUE(Write(request, std::string(990, 'c')));
    std::filesystem::remove(tmp.File("out/001.7.zzz"));
    EXPECT_EQ(ResultFileCanBeWritten(settings, std::string(991, 'c')), ResultRefusal::CodeTooLong);
    EXPECT_FALSE(Write(request, std::string(991, 'c')));
    EXPECT_TRUE(std::filesystem::is_empty(tmp.File("out")));
}

TEST_F(ResultWriter, WriteFailureReachesTheCaller) {
    std::filesystem::create_directory(tmp.File("out/001.7.zzz"));
    EXPECT_THROW(WriteResultFile(settings, 7, request, "BW2E"), platform::PlatformError);
}

} // namespace
} // namespace tessaro::gdt
