#include "gdt/sequence_counter.h"
#include "platform/cp1252.h"
#include "platform/errors.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "support/worded_startup.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

namespace tessaro::gdt {
namespace {

using test::Slurp;
using test::Spit;

class SequenceCounter : public ::testing::Test {
protected:
    std::int16_t Draw(const std::string& dir = {}) {
        return test::DrawWorded(dir.empty() ? tmp.path() : dir, messages);
    }
    // The second line of every counter failure: the file it concerns.
    std::string Named() const { return "\r\nDatei: " + counter; }

    test::TempDir tmp;
    std::string counter = tmp.File("GDTcount.txt");
    test::RecordingMessageBox messages;
};

// Each run draws the stored number plus one and stores it as digits alone; a
// busy practice reaches the top of the range in about a year, and counting
// goes on from 1 without a message instead of stopping there.
TEST_F(SequenceCounter, EachRunDrawsTheStoredNumberPlusOne) {
    const struct {
        std::optional<std::string> stored; // nullopt: no counter file yet
        std::vector<std::int16_t> drawn;   // by one run after another
    } rows[] = {
        {std::nullopt, {1, 2}},   {"41", {42}}, {"007", {8}}, {" -5 \r\n", {-4}},
        {"32766", {32767, 1, 2}},
    };
    for (const auto& r : rows) {
        std::filesystem::remove(counter);
        if (r.stored)
            Spit(counter, *r.stored);
        for (const std::int16_t expected : r.drawn) {
            EXPECT_EQ(Draw(), expected) << r.stored.value_or("none");
            EXPECT_EQ(Slurp(counter), std::to_string(expected));
        }
    }
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(SequenceCounter, NoNumberInTheFileLeavesItUnchanged) {
    for (const std::string content : {"", "abc", "12a", "4 2", "+", "99999", "-32769"}) {
        messages.texts.clear();
        Spit(counter, content);
        EXPECT_EQ(Draw(), 1) << content;
        EXPECT_EQ(Slurp(counter), content);
        ASSERT_EQ(messages.texts.size(), 1u) << content;
        const bool overflow = content == "99999" || content == "-32769";
        EXPECT_EQ(messages.texts[0],
                  (overflow ? platform::cp1252::Ansi("Es ist ein Fehler aufgetreten.6 - Überlauf")
                            : platform::cp1252::Ansi(
                                  "Es ist ein Fehler aufgetreten.13 - Typen unverträglich")) +
                      Named());
    }
}

TEST_F(SequenceCounter, WriteFailureKeepsTheDrawnNumberAndTheOldFile) {
    Spit(counter, "41");
    // A file-size limit of one byte makes the write of "42" fail half way, as a
    // full disk would.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = old;
    tiny.rlim_cur = 1;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const std::int16_t number = Draw();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(number, 42);
    EXPECT_EQ(Slurp(counter), "41");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.path()), {}), 1);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0],
              platform::cp1252::Ansi("Es ist ein Fehler aufgetreten.61 - Datenträger voll") +
                  Named());
}

TEST_F(SequenceCounter, ReadOnlyCounterKeepsItsDigitsAndTheRunItsNumber) {
    Spit(counter, "41");
    ASSERT_EQ(::chmod(counter.c_str(), 0444), 0);
    EXPECT_EQ(Draw(), 42);
    EXPECT_EQ(Slurp(counter), "41");
    EXPECT_EQ(messages.texts,
              std::vector<std::string>{"Es ist ein Fehler aufgetreten.70 - Zugriff verweigert" +
                                       Named()});
}

TEST_F(SequenceCounter, CounterThatIsADirectoryIsReported) {
    std::filesystem::create_directory(counter);
    EXPECT_EQ(Draw(), 1);
    EXPECT_EQ(messages.texts.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(counter));
}

TEST(ParseCounter, RangeOfSixteenBits) {
    EXPECT_EQ(ParseCounter("-32768"), -32768);
    EXPECT_EQ(ParseCounter("+32767"), 32767);
    EXPECT_EQ(ParseCounter("00000000000000000000012"), 12);
    EXPECT_THROW(ParseCounter("32768"), platform::PlatformError);
    EXPECT_THROW(ParseCounter("123456789012345678901234567890"), platform::PlatformError);
}

} // namespace
} // namespace tessaro::gdt
