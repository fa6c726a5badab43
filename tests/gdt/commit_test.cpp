// The commit apart from the window: what it leaves in the target folder and at
// the request's path, and what it tells the operator, for hostile leftovers,
// unusable Lumeo IDs and failures after the result is in place.
#include "gdt/commit.h"
#include "gdt/display_text.h"
#include "gdt/gdt_line.h"
#include "gdt/request_import.h"
#include "gdt/result_writer.h"
#include "platform/codec.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tessaro::gdt {
namespace {

using test::Slurp;
using test::Spit;
namespace fsys = std::filesystem;

class Commit : public ::testing::Test {
protected:
    Commit() {
        fsys::create_directory(tmp.File("inbox"));
        fsys::create_directory(tmp.File("outbox"));
        settings.PathD = tmp.File("outbox");
        Spit(requestPath, request);
    }
    CommitOutcome Run() {
        return CommitRequest(CommitInput{settings, 7, request, "BW2E", requestPath}, messages);
    }
    std::string Final() const { return tmp.File("outbox/001.7.gdt"); }
    std::string Expected() const { return request + FormatGdtLine("8411", "BW2E"); }

    test::TempDir tmp;
    config::ProgramSettings settings;
    std::string request = FormatGdtLine("3000", "4711") + FormatGdtLine("3101", "Muster");
    std::string requestPath = tmp.File("inbox/anfrage.gdt");
    test::RecordingMessageBox messages;
};

// Whatever an earlier run or another user left under the temporary name, the
// delivered file is a new regular file and nothing else is written.
TEST_F(Commit, LeftoverUnderTheTemporaryNameIsReplacedNotFollowed) {
    Spit(tmp.File("private"), "private");
    const std::function<void(const std::string&)> plant[] = {
        [&](const std::string& at) { fsys::create_symlink(tmp.File("private"), at); },
        [&](const std::string& at) { ASSERT_EQ(::mkfifo(at.c_str(), 0666), 0); },
    };
    for (const auto& p : plant) {
        fsys::remove(Final());
        Spit(requestPath, request);
        p(tmp.File("outbox/001.7.zzz"));
        EXPECT_EQ(Run(), CommitOutcome::Done);
        EXPECT_TRUE(fsys::is_regular_file(fsys::symlink_status(Final())));
        EXPECT_EQ(Slurp(Final()), Expected());
        EXPECT_FALSE(fsys::exists(requestPath));
    }
    EXPECT_EQ(Slurp(tmp.File("private")), "private");
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(Commit, LumeoIdThatWouldLeaveTheFolderOrHoldsControlsIsRefused) {
    const std::pair<std::string, std::string> cases[] = {
        {"../x", "../x"}, {"sub/x", "sub/x"}, {"a\\b", "a\\b"}, {"x\x1B\x7F", "x<1B><7F>"}};
    for (const auto& [id, shown] : cases) {
        messages.texts.clear();
        settings.LumeoID = id;
        EXPECT_EQ(Run(), CommitOutcome::Kept) << shown;
        ASSERT_EQ(messages.texts.size(), 1u);
        EXPECT_EQ(messages.texts[0].rfind("Die Lumeo-ID \"" + shown + "\" kann nicht", 0), 0u);
    }
    EXPECT_TRUE(fsys::is_empty(tmp.File("outbox")));
    EXPECT_EQ(std::distance(fsys::directory_iterator(tmp.path()), {}), 2);
    EXPECT_EQ(Slurp(requestPath), request);
}

// Once the .gdt is in place, a failure must not read like an undone commit:
// the message says the result is delivered and names it. Before the rename it
// says nothing of the kind.
TEST_F(Commit, FailureAfterTheRenameSaysTheResultIsDelivered) {
    const struct {
        const char* what;
        std::function<void()> fault;
        int number;
        bool delivered;
    } cases[] = {
        {"request gone", [&] { fsys::remove(requestPath); }, 53, true},
        {"request replaced by a pipe",
         [&] {
             fsys::remove(requestPath);
             ASSERT_EQ(::mkfifo(requestPath.c_str(), 0666), 0);
         },
         75, true},
        {"final name taken", [&] { Spit(Final(), "older"); }, 58, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        messages.texts.clear();
        fsys::remove_all(tmp.File("outbox"));
        fsys::create_directory(tmp.File("outbox"));
        fsys::remove(requestPath);
        Spit(requestPath, request);
        c.fault();
        EXPECT_EQ(Run(), CommitOutcome::Failed);
        ASSERT_EQ(messages.texts.size(), 1u);
        const std::string& text = messages.texts[0];
        EXPECT_NE(text.find("Fehler " + std::to_string(c.number) + " - "), std::string::npos);
        const std::string note =
            "Die Ergebnisdatei ist trotzdem zugestellt:\r\n" + Final() + "\r\n";
        EXPECT_EQ(text.find(note) != std::string::npos, c.delivered) << text;
        if (c.delivered) {
            EXPECT_EQ(Slurp(Final()), Expected());
        }
    }
}

// Memory on a huge request: the import, what the window shows of it and the
// commit together hold about one copy of it, never two.
TEST_F(Commit, HugeRequestIsHeldOnceFromImportToCommit) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own bookkeeping hides the figure";
#endif
    auto kib = [](const char* field) {
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind(field, 0) == 0)
                return std::stoll(line.substr(std::string(field).size()));
        return -1LL;
    };
    constexpr std::size_t kSize = 60u << 20;
    {
        // One line of LF-only ends: the field that runs to the end of the file.
        std::ofstream out(requestPath, std::ios::binary | std::ios::trunc);
        out << "0143000";
        const std::string piece(1u << 20, '9');
        for (std::size_t done = 7; done < kSize; done += piece.size())
            out << piece;
    }
    const auto size = fsys::file_size(requestPath);
    std::ofstream("/proc/self/clear_refs") << "5"; // peak back to the current size
    const long long before = kib("VmRSS:");
    if (before < 0 || kib("VmHWM:") > before + 1024)
        GTEST_SKIP() << "the peak cannot be reset here";

    ImportResult imported = ReadRequestFile(requestPath, messages);
    ASSERT_EQ(imported.requestText.size(), size);
    const DisplayCharset charset = DeclaredCharset(imported.requestText);
    EXPECT_EQ(ShownPanel(*imported.panels[0], charset).size(), kMaxShownBytes + 3);
    EXPECT_EQ(CommitRequest(CommitInput{settings, 7, imported.requestText, "BW2E", requestPath},
                            messages),
              CommitOutcome::Done);
    const long long peakMiB = (kib("VmHWM:") - before) >> 10;
    std::cout << "[ figures  ] peak for a " << (size >> 20) << " MiB request: " << peakMiB
              << " MiB\n";
    EXPECT_LT(peakMiB, static_cast<long long>(size >> 20) + 16);
    EXPECT_EQ(fsys::file_size(Final()), size + 13);
    EXPECT_TRUE(messages.texts.empty());
}

} // namespace
} // namespace tessaro::gdt
