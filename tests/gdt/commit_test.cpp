// The commit apart from the window: what it leaves in the target folder and at
// the request's path, and what it tells the operator, for hostile leftovers,
// unusable Lumeo IDs and failures after the result is in place.
#include "app/handover_messages.h"
#include "gdt/commit.h"
#include "gdt/display_text.h"
#include "gdt/gdt_line.h"
#include "gdt/request_import.h"
#include "gdt/result_writer.h"
#include "platform/cp1252.h"
#include "support/memory_record_store.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "support/worded_startup.h"

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
    // What the window would show is recorded, worded as it words it.
    CommitOutcome Run() {
        const CommitReport report =
            CommitRequest(CommitInput{settings, 7, request, "BW2E", requestPath, record});
        if (const std::string said = app::CommitMessage(report); !said.empty())
            messages.ShowError(said);
        return report.outcome;
    }
    std::string Final() const { return tmp.File("outbox/001.7.gdt"); }
    std::string Temporary() const { return tmp.File("outbox/001.7.zzz"); }
    std::string Expected() const { return request + FormatGdtLine("8411", "BW2E"); }

    test::TempDir tmp;
    config::ProgramSettings settings;
    std::string request = FormatGdtLine("3000", "4711") + FormatGdtLine("3101", "Muster");
    std::string requestPath = tmp.File("inbox/anfrage.gdt");
    test::MemoryRecordStore record;
    test::RecordingMessageBox messages;
};

// Every way a commit can go ends in one of two states: delivered (the .gdt
// holds the imported request and its line, the request is gone from its path)
// or not delivered (no .gdt of it, the request back at its path as it stood),
// with a message saying which. Nothing another run left is removed or followed.
TEST_F(Commit, EachFaultEndsDeliveredOrNotDelivered) {
    Spit(tmp.File("private"), "private");
    const std::string changed = request + FormatGdtLine("3102", "Anders");
    const struct {
        const char* what;
        std::function<void()> fault;
        CommitOutcome outcome;
        bool delivered;
        const char* requestAfter; // "imported", "changed", "pipe", "" (gone)
        std::string said;         // part of the one message ("" none)
    } rows[] = {
        {"no fault", [] {}, CommitOutcome::Done, true, "", ""},
        {"someone's link under the temporary name",
         [&] { fsys::create_symlink(tmp.File("private"), Temporary()); },
         CommitOutcome::NotDelivered, false, "imported", "liegt schon eine Datei"},
        {"someone's pipe under the temporary name",
         [&] { ASSERT_EQ(::mkfifo(Temporary().c_str(), 0666), 0); }, CommitOutcome::NotDelivered,
         false, "imported", "liegt schon eine Datei"},
        {"request gone", [&] { fsys::remove(requestPath); }, CommitOutcome::NotDelivered, false, "",
         "nicht mehr da"},
        {"request changed", [&] { Spit(requestPath, changed); }, CommitOutcome::NotDelivered, false,
         "changed", "ge\xE4ndert"},
        {"request replaced by a pipe",
         [&] {
             fsys::remove(requestPath);
             ASSERT_EQ(::mkfifo(requestPath.c_str(), 0666), 0);
         },
         CommitOutcome::Failed, false, "pipe", "Fehler 75 - "},
        {"final name taken", [&] { Spit(Final(), "older"); }, CommitOutcome::Failed, false,
         "imported", "Fehler 58 - "},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        messages.texts.clear();
        fsys::remove_all(tmp.File("outbox"));
        fsys::remove_all(tmp.File("inbox"));
        fsys::create_directory(tmp.File("outbox"));
        fsys::create_directory(tmp.File("inbox"));
        Spit(requestPath, request);
        r.fault();
        EXPECT_EQ(Run(), r.outcome);
        EXPECT_EQ(messages.texts.size(), r.said.empty() ? 0u : 1u);
        if (!r.said.empty() && !messages.texts.empty()) {
            EXPECT_NE(messages.texts[0].find(r.said), std::string::npos) << messages.texts[0];
            const bool saysDelivered = messages.texts[0].find("zugestellt:") != std::string::npos;
            EXPECT_FALSE(saysDelivered) << messages.texts[0];
        }
        EXPECT_EQ(Slurp(Final()) == Expected(), r.delivered);
        const std::string after = r.requestAfter;
        if (after.empty()) {
            EXPECT_FALSE(fsys::exists(fsys::symlink_status(requestPath)));
        } else if (after == "pipe") {
            EXPECT_TRUE(fsys::is_fifo(requestPath));
        } else {
            EXPECT_EQ(Slurp(requestPath), after == "changed" ? changed : request);
        }
        // No claim is left behind in the request's folder, no .zzz of ours
        // with patient data in the target folder, nothing in the record.
        for (const auto& entry : fsys::directory_iterator(tmp.File("inbox")))
            EXPECT_EQ(entry.path().filename(), "anfrage.gdt");
        const bool ownZzz = fsys::is_regular_file(fsys::symlink_status(Temporary())) &&
                            Slurp(Temporary()).starts_with(request);
        EXPECT_FALSE(ownZzz);
        EXPECT_FALSE(record.bytes);
    }
    EXPECT_EQ(Slurp(tmp.File("private")), "private");
}

TEST_F(Commit, LumeoIdThatWouldLeaveTheFolderOrHoldsControlsIsRefused) {
    const std::pair<std::string, std::string> cases[] = {
        {"../x", "../x"},      {"sub/x", "sub/x"},
        {"a\\b", "a\\b"},      {"x\x1B\x7F", "x<1B><7F>"},
        {"001:x", "001:x"},    {"a*b", "a*b"},
        {"a?b", "a?b"},        {"a\"b", "a\"b"},
        {"a<b", "a<b"},        {"a>b", "a>b"},
        {"a|b", "a|b"},        {"001.", "001."},
        {"001 ", "001 "},      {"CON", "CON"},
        {"nul.x", "nul.x"},    {"Com1", "Com1"},
        {"LPT9.1", "LPT9.1"},  {"aux .y", "aux .y"},
        {"COM\xB9", "COM\xB9"}};
    for (const auto& [id, shown] : cases) {
        messages.texts.clear();
        settings.LumeoID = id;
        EXPECT_EQ(Run(), CommitOutcome::Kept) << shown;
        ASSERT_EQ(messages.texts.size(), 1u);
        EXPECT_EQ(messages.texts[0].rfind("Die Lumeo-ID \"" + shown + "\" kann nicht", 0), 0u);
    }
    // Names that only look like devices or hold a dot inside are names.
    for (const char* id : {"001", "CONX", "COM0", "LPT10", "x.CON", "a.b", "com", ""})
        EXPECT_TRUE(IsUsableLumeoId(id)) << id;
    EXPECT_TRUE(fsys::is_empty(tmp.File("outbox")));
    EXPECT_EQ(std::distance(fsys::directory_iterator(tmp.path()), {}), 2);
    EXPECT_EQ(Slurp(requestPath), request);
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

    ImportResult imported = test::ImportWorded(requestPath, messages);
    ASSERT_EQ(imported.requestText.size(), size);
    const DisplayCharset charset = DeclaredCharset(imported.requestText);
    EXPECT_EQ(ShownPanel(*imported.panels[0], charset).size(), kMaxShownBytes + 3);
    EXPECT_EQ(
        CommitRequest(CommitInput{settings, 7, imported.requestText, "BW2E", requestPath, record})
            .outcome,
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
