#include "config/settings_store.h"
#include "gdt/sequence_counter.h"
#include "platform/codec.h"
#include "platform/profile.h"
#include "support/freeze_limit.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
    const auto start = std::chrono::steady_clock::now();
    // Ten megabytes of blanks around a number are still that number.
    Spit(counter, std::string(10u << 20, ' ') + "41" + std::string(1000, '\n'));
    EXPECT_EQ(Draw(), 42);
    EXPECT_EQ(Slurp(counter), "42");
    // Ten megabytes of digits are no 16-bit number: reported, file kept.
    const std::string digits(10u << 20, '7');
    Spit(counter, digits);
    EXPECT_EQ(Draw(), 1);
    EXPECT_TRUE(Slurp(counter) == digits);
    EXPECT_EQ(messages.texts,
              std::vector<std::string>{cp1252::Ansi("Es ist ein Fehler aufgetreten.6 - Überlauf")});
    EXPECT_LT(std::chrono::steady_clock::now() - start, test::kFreezeLimit);
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

// A common install: the program folder locked down, the counter and the
// settings opened up for the operator. Every run counts on and the short code
// is saved, without a message.
TEST_F(CounterFault, LockedDownFolderWithOpenedUpFilesKeepsCounting) {
    const std::string ini = settings::IniPath(tmp.path());
    Spit(counter, "41");
    Spit(ini, "[GDT]\r\nLumeoID=001\r\n");
    ASSERT_EQ(::chmod(counter.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(ini.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(tmp.path().c_str(), 0555), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(255);
        const bool counted = Draw() == 42 && Draw() == 43 && messages.texts.empty();
        const bool saved =
            WritePrivateProfileString(settings::kShortSection, settings::kShortKey, "MK", ini);
        ::_exit(counted && saved ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::chmod(tmp.path().c_str(), 0700);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 255)
        GTEST_SKIP() << "cannot run as an ordinary user here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Slurp(counter), "43");
    EXPECT_EQ(settings::ReadIniValue(settings::kShortSection, settings::kShortKey, "", ini, 256),
              "MK");
}

} // namespace
} // namespace tessaro::gdt
