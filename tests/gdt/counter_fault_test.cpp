#include "gdt/sequence_counter.h"
#include "platform/codec.h"
#include "support/freeze_limit.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

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
    std::int16_t Draw() { return NextSequenceNumber(tmp.path(), messages); }

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

TEST_F(CounterFault, HugeFilesAreJudgedQuicklyAndOnlyReplacedWhenTheyHoldANumber) {
    const test::ProcessorStopwatch took;
    // Ten megabytes of blanks around a number are still that number.
    std::string padded(10u << 20, ' ');
    padded.append("41").append(1000, '\n'); // not operator+: GCC 12 misreads its bounds
    Spit(counter, padded);
    EXPECT_EQ(Draw(), 42);
    EXPECT_EQ(Slurp(counter), "42");
    // Ten megabytes of digits are no 16-bit number: reported, file kept.
    const std::string digits(10u << 20, '7');
    Spit(counter, digits);
    EXPECT_EQ(Draw(), 1);
    EXPECT_TRUE(Slurp(counter) == digits);
    EXPECT_EQ(messages.texts, std::vector<std::string>{platform::cp1252::Ansi(
                                  "Es ist ein Fehler aufgetreten.6 - Überlauf")});
    EXPECT_LT(took.Elapsed(), test::kFreezeLimit);
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
    EXPECT_EQ(NextSequenceNumber(gone, messages), 1);
    EXPECT_EQ(messages.texts.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(gone));
}

} // namespace
} // namespace tessaro::gdt
