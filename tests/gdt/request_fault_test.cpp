#include "gdt/gdt_line.h"
#include "gdt/request_import.h"
#include "gdt/result_writer.h"
#include "platform/cp1252.h"
#include "platform/errors.h"
#include "support/file_size_limit.h"
#include "support/freeze_limit.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "support/worded_startup.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tessaro::gdt {
namespace {

// A request of about `bytes` bytes in lines of 40, the patient fields first.
std::string BigRequest(std::size_t bytes) {
    std::string text = FormatGdtLine("3000", "4711") + FormatGdtLine("3101", "Gross") +
                       FormatGdtLine("3102", "Anna");
    const std::string filler = FormatGdtLine("6220", std::string(29, 'x'));
    text.reserve(bytes + filler.size());
    while (text.size() < bytes)
        text += filler;
    return text;
}

class RequestFault : public ::testing::Test {
protected:
    ImportResult Import(const std::string& bytes, long long& ms) {
        test::Spit(path, bytes);
        const test::ProcessorStopwatch took;
        ImportResult r = test::ImportWorded(path, messages);
        ms = took.Elapsed().count();
        return r;
    }

    test::TempDir tmp;
    std::string path = tmp.File("request.gdt");
    test::RecordingMessageBox messages;
    const std::string overflow =
        platform::cp1252::Ansi("Es ist ein Fehler aufgetreten.\r\n6 - Überlauf");
};

// Far more lines than the 16-bit line index: reported as an overflow, and the
// text is kept whole for the commit, quickly.
TEST_F(RequestFault, FiftyMegabytesAreReportedOnceAndKeptWhole) {
    const std::string text = BigRequest(50u << 20);
    long long ms = 0;
    const ImportResult r = Import(text, ms);
    EXPECT_TRUE(r.requestText == text);
    EXPECT_EQ(messages.texts, std::vector<std::string>{overflow});
    EXPECT_LT(ms, test::kFreezeLimit.count()) << "import of 50 MB froze the program";
    std::cout << "[ figures  ] import of a 50 MB request: " << ms << " ms\n";
}

TEST_F(RequestFault, FiftyMegabytesInOneLineGiveOnePanel) {
    // LF line ends: one single line whose content runs to the end of the file.
    std::string text = "0143000" + std::string(50u << 20, 'y') + "\n";
    long long ms = 0;
    const ImportResult r = Import(text, ms);
    EXPECT_TRUE(r.requestText == text);
    ASSERT_TRUE(r.panels[0].has_value());
    // The panel keeps the start of the field only: it is for display, and the
    // whole field would be a second copy of the request.
    EXPECT_EQ(*r.panels[0], "ID: " + text.substr(7, kMaxPanelBytes));
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_LT(ms, test::kFreezeLimit.count());
}

TEST_F(RequestFault, FortyThousandLinesAreAnOverflowThatKeepsTheText) {
    std::string text = FormatGdtLine("3101", "Vorne");
    for (int i = 1; i < 40000; ++i)
        text += FormatGdtLine("6228", "Zeile " + std::to_string(i));
    long long ms = 0;
    const ImportResult r = Import(text, ms);
    EXPECT_EQ(r.requestText, text);
    EXPECT_FALSE(r.panels[2].has_value());
    EXPECT_EQ(messages.texts, std::vector<std::string>{overflow});
    EXPECT_LT(ms, test::kFreezeLimit.count());
}

TEST_F(RequestFault, ResultThatCannotBeWrittenWholeIsNeverFinal) {
    const std::string text = BigRequest(1u << 20);
    config::ProgramSettings settings;
    settings.PathD = tmp.path();
    // The disk fills up half way through the result file.
    {
        const test::FileSizeLimit limit(text.size() / 2);
        ASSERT_TRUE(limit.active());
        try {
            WriteResultFile(settings, 9, text, "LW2E");
            ADD_FAILURE() << "a cut result file was reported as written";
        } catch (const platform::PlatformError& e) {
            EXPECT_EQ(e.Number(), static_cast<int>(platform::ErrorNumber::DiskFull));
        }
    }
    EXPECT_FALSE(std::filesystem::exists(FinalFileName(settings, 9)));
    EXPECT_TRUE(messages.texts.empty());
}

// A file far larger than any request is refused before it is read: nothing
// imported, the file left as it is, and the message says why.
TEST_F(RequestFault, RequestOverTheLimitIsRefusedUnread) {
    test::Spit(path, FormatGdtLine("3000", "4711"));
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(kMaxRequestBytes) + 1), 0);
    const ImportResult r = test::ImportWorded(path, messages);
    EXPECT_TRUE(r.requestText.empty());
    EXPECT_FALSE(r.panels[0].has_value());
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0],
              platform::cp1252::Ansi(
                  "Die Anforderung ist zu groß: 67108865 Bytes, erlaubt sind höchstens "
                  "64 MB.\r\n") +
                  path +
                  platform::cp1252::Ansi(
                      "\r\nEs wurde nichts übernommen; die Datei bleibt, wie sie ist."));
    EXPECT_EQ(std::filesystem::file_size(path), kMaxRequestBytes + 1);
}

} // namespace
} // namespace tessaro::gdt
