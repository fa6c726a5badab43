#include "gdt/sequence_counter.h"
#include "platform/cp1252.h"
#include "support/freeze_limit.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "support/worded_startup.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaro::gdt {
namespace {

using test::Slurp;
using test::Spit;

class CounterFault : public ::testing::Test {
protected:
    std::int16_t Draw(const std::string& dir = {}) {
        return test::DrawWorded(dir.empty() ? tmp.path() : dir, messages);
    }

    test::TempDir tmp;
    std::string counter = tmp.File(kCounterFileName);
    test::RecordingMessageBox messages;
};

TEST_F(CounterFault, LowestNumberCountsOnUpwards) {
    Spit(counter, "-32768");
    EXPECT_EQ(Draw(), -32767);
    EXPECT_EQ(Slurp(counter), "-32767");
    EXPECT_TRUE(messages.texts.empty());
}

// Read up to kMaxCounterBytes: blanks around a number are still that number
// up to there; a longer file, however it came (a sparse gigabyte costs nothing
// to make), is reported by name at once and left as it is.
TEST_F(CounterFault, OnlyAFewDozenBytesAreReadAndALongerFileIsKept) {
    const std::string tooLong = platform::cp1252::Ansi(
        "Die Datei GDTcount.txt ist größer als 40 Bytes und wird weder gelesen noch "
        "überschrieben. Diese Sitzung erhält die Nummer 1.");
    const struct {
        const char* what;
        std::string content;
        unsigned long long sparse; // file size made with truncate, 0: none
        std::int16_t number;
        bool kept;
    } rows[] = {
        // append, not operator+: GCC 12 misreads its bounds
        {"blanks up to the limit", std::string(kMaxCounterBytes - 4, ' ').append("41\r\n"), 0, 42,
         false},
        {"one byte over", std::string(kMaxCounterBytes - 3, ' ').append("41\r\n"), 0, 1, true},
        {"ten megabytes of digits", std::string(10u << 20, '7'), 0, 1, true},
        {"a sparse gigabyte", "41", 1ull << 30, 1, true},
    };
    for (const auto& row : rows) {
        messages.texts.clear();
        Spit(counter, row.content);
        if (row.sparse != 0) {
            ASSERT_EQ(::truncate(counter.c_str(), static_cast<off_t>(row.sparse)), 0);
        }
        const test::ProcessorStopwatch took;
        EXPECT_EQ(Draw(), row.number) << row.what;
        EXPECT_LT(took.Elapsed(), test::kFreezeLimit) << row.what;
        EXPECT_EQ(messages.texts,
                  row.kept ? std::vector<std::string>{tooLong} : std::vector<std::string>{})
            << row.what;
        const std::string left = row.kept ? row.content : std::to_string(row.number);
        EXPECT_EQ(std::filesystem::file_size(counter), row.sparse != 0 ? row.sparse : left.size())
            << row.what;
        if (row.sparse == 0) {
            EXPECT_TRUE(Slurp(counter) == left) << row.what;
        }
    }
}

TEST_F(CounterFault, PipeInPlaceOfTheFileNeverBlocksStartUp) {
    ASSERT_EQ(::mkfifo(counter.c_str(), 0666), 0);
    EXPECT_EQ(Draw(), 1);
    EXPECT_EQ(messages.texts.size(), 1u);
    struct stat st {};
    ASSERT_EQ(::lstat(counter.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(CounterFault, UnreadableFileIsReportedAndKept) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads files without read permission; the directory and pipe "
                        "cases stand in for an unreadable counter";
    Spit(counter, "41");
    ASSERT_EQ(::chmod(counter.c_str(), 0200), 0);
    EXPECT_EQ(Draw(), 1);
    EXPECT_EQ(messages.texts.size(), 1u);
    ::chmod(counter.c_str(), 0600);
    EXPECT_EQ(Slurp(counter), "41");
}

TEST_F(CounterFault, ProgramDirectoryGoneIsReportedAndTheRunGoesOn) {
    const std::string gone = tmp.File("gone");
    EXPECT_EQ(Draw(gone), 1);
    EXPECT_EQ(messages.texts.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(gone));
}

} // namespace
} // namespace tessaro::gdt
