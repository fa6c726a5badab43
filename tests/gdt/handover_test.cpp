// The hand-over of a request on both platforms: the commit that writes down
// what it will do before it claims and delivers, and the recovery that
// finishes or undoes an interrupted commit from that record alone, deciding
// "delivered" only from evidence.
#include "app/handover_messages.h"
#include "gdt/commit.h"
#include "gdt/commit_record.h"
#include "gdt/gdt_line.h"
#include "gdt/recovery.h"
#include "platform/file_facts.h"
#include "platform/instance_lock.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace tessaro::gdt {
namespace {

using test::Slurp;
using test::Spit;
namespace fsys = std::filesystem;

class Handover : public ::testing::Test {
protected:
    Handover() {
        for (const char* folder : {"inbox", "outbox", "prog"})
            fsys::create_directory(tmp.File(folder));
        settings.PathS = tmp.File("inbox/anfrage.gdt");
        settings.PathD = tmp.File("outbox");
        settings.LumeoID = "001";
        Lock();
    }
    void Lock(const char* folder = "prog") {
        lock.reset();
        lock = std::make_unique<platform::InstanceLock>(tmp.File(folder));
        ASSERT_TRUE(lock->Held());
    }
    std::string Out(const char* name) const { return tmp.File(std::string("outbox/") + name); }
    // What the window would show is recorded, worded as it words it.
    CommitOutcome Commit(std::int16_t n = 7) {
        const CommitReport report =
            CommitRequest(CommitInput{settings, n, request, code, settings.PathS, *lock});
        if (const std::string text = app::CommitMessage(report); !text.empty())
            messages.ShowError(text);
        return report.outcome;
    }
    void Recover() {
        messages.texts.clear();
        if (const std::string text = app::RecoveryMessage(RecoverInterruptedCommits(*lock));
            !text.empty())
            messages.ShowError(text);
    }
    std::vector<std::string> Listing(const char* folder) const {
        std::vector<std::string> names;
        for (const auto& e : fsys::directory_iterator(tmp.File(folder)))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // What a commit of run "r1" writes down at the stage, as it would.
    CommitEntry Entry(CommitStage stage) const {
        CommitEntry e;
        e.runId = "r1";
        e.stage = stage;
        e.requestPath = settings.PathS;
        e.claimPath = ClaimPathFor(settings.PathS, "r1");
        e.pathD = settings.PathD;
        e.pathDIdentity = platform::FolderIdentity(settings.PathD).value_or("");
        e.temporaryPath = Out("001.7.zzz");
        e.finalPath = Out("001.7.gdt");
        e.line = FormatGdtLine("8411", code);
        e.resultSize = delivered.size();
        e.resultHash = ContentHash({delivered});
        return e;
    }
    // The .zzz written complete and the record marked ready, as the commit does.
    void LeaveReady() {
        Spit(Claim(), request);
        Spit(Out("001.7.zzz"), delivered);
        SaveEntries(*lock, {Entry(CommitStage::Ready)});
    }
    void LeaveClaimed() {
        Spit(Claim(), request);
        SaveEntries(*lock, {Entry(CommitStage::Claiming)});
    }
    std::string Claim() const { return ClaimPathFor(settings.PathS, "r1"); }
    bool Said(const char* part) const {
        return messages.texts.size() == 1 && messages.texts[0].find(part) != std::string::npos;
    }

    test::TempDir tmp;
    config::ProgramSettings settings;
    std::unique_ptr<platform::InstanceLock> lock;
    test::RecordingMessageBox messages;
    std::string request = FormatGdtLine("3000", "4711") + FormatGdtLine("3101", "Muster");
    std::string code = "BW2E";
    std::string delivered = request + FormatGdtLine("8411", "BW2E");
};

// The road, and the run that comes second to a name: it delivers nothing and
// removes nothing of the other's. The record is empty after either.
TEST_F(Handover, CommitClaimsFirstAndTouchesOnlyItsOwnFiles) {
    Spit(settings.PathS, request);
    EXPECT_EQ(Commit(), CommitOutcome::Done);
    EXPECT_EQ(Slurp(Out("001.7.gdt")), delivered);
    EXPECT_EQ(Listing("inbox"), std::vector<std::string>{});
    EXPECT_EQ(Listing("outbox"), std::vector<std::string>{"001.7.gdt"});
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_FALSE(lock->Read());

    // Another workplace, same Lumeo ID and number, is writing its .zzz.
    Spit(settings.PathS, request);
    Spit(Out("001.8.zzz"), "theirs");
    EXPECT_EQ(Commit(8), CommitOutcome::NotDelivered);
    EXPECT_EQ(Slurp(Out("001.8.zzz")), "theirs");
    EXPECT_FALSE(fsys::exists(Out("001.8.gdt")));
    EXPECT_EQ(Slurp(settings.PathS), request);
    EXPECT_TRUE(Said("n\xE4"
                     "chsten Start wird die n\xE4"
                     "chste Nummer"));
    EXPECT_FALSE(lock->Read());
}

// Each state an interrupted commit can leave, and what the next start makes
// of it: delivered exactly once, or back at its path; never both, never lost.
TEST_F(Handover, RecoveryFinishesOrUndoesFromTheRecord) {
    const struct {
        const char* what;
        std::function<void()> leave;
        const char* said; // part of the one message; "" for none
        bool gdtOurs;     // 001.7.gdt then holds the delivered bytes
        std::vector<std::string> inbox, outbox;
    } rows[] = {
        {"nothing written down", [] {}, "", false, {}, {}},
        {"an earlier version's claim, no record",
         [&] { Spit(settings.PathS + ".tessaro-0123456789abcdef.7.001.ready", request); },
         "",
         false,
         {"anfrage.gdt.tessaro-0123456789abcdef.7.001.ready"},
         {}},
        {"written down, not yet claimed",
         [&] {
             Spit(settings.PathS, request);
             SaveEntries(*lock, {Entry(CommitStage::Claiming)});
         },
         "wieder an ihrem Platz",
         false,
         {"anfrage.gdt"},
         {}},
        {"claimed, nothing written",
         [&] { LeaveClaimed(); },
         "wieder an ihrem Platz",
         false,
         {"anfrage.gdt"},
         {}},
        {"claimed, .zzz cut short",
         [&] {
             LeaveClaimed();
             Spit(Out("001.7.zzz"), request + "013");
         },
         "wieder an ihrem Platz",
         false,
         {"anfrage.gdt"},
         {}},
        {"claimed, someone else's .zzz",
         [&] {
             LeaveClaimed();
             Spit(Out("001.7.zzz"), "theirs");
         },
         "wieder an ihrem Platz",
         false,
         {"anfrage.gdt"},
         {"001.7.zzz"}},
        {"claimed by link and unlink, cut between",
         [&] {
             LeaveClaimed();
             fsys::create_hard_link(Claim(), settings.PathS);
         },
         "wieder an ihrem Platz",
         false,
         {"anfrage.gdt"},
         {}},
        {"ready, .zzz complete", [&] { LeaveReady(); }, "Zugestellt als", true, {}, {"001.7.gdt"}},
        {"ready, .zzz renamed",
         [&] {
             LeaveReady();
             fsys::rename(Out("001.7.zzz"), Out("001.7.gdt"));
         },
         "Zugestellt als",
         true,
         {},
         {"001.7.gdt"}},
        {"ready, .gdt already taken in by the receiver",
         [&] {
             LeaveReady();
             fsys::remove(Out("001.7.zzz"));
         },
         "Zugestellt als",
         false,
         {},
         {}},
        {"ready, both names of one file, in either order",
         [&] {
             LeaveReady();
             fsys::create_hard_link(Out("001.7.zzz"), Out("001.7.gdt"));
         },
         "Zugestellt als",
         true,
         {},
         {"001.7.gdt"}},
        {"ready, request and claim one file, .gdt in place",
         [&] {
             LeaveReady();
             fsys::create_hard_link(Claim(), settings.PathS);
             fsys::rename(Out("001.7.zzz"), Out("001.7.gdt"));
         },
         "Zugestellt als",
         true,
         {},
         {"001.7.gdt"}},
        {"ready, the final name someone else's",
         [&] {
             LeaveReady();
             Spit(Out("001.7.gdt"), "older");
         },
         "schon vergeben",
         false,
         {"anfrage.gdt"},
         {"001.7.gdt"}},
#ifndef _WIN32 // Wine makes no symbolic links
        {"claimed, the claim replaced by another account's link",
         [&] {
             LeaveClaimed();
             fsys::remove(Claim());
             fsys::create_symlink(tmp.File("private"), Claim());
         },
         "Nicht angefasst",
         false,
         {fsys::path(Claim()).filename().string()},
         {}},
#endif
    };
    Spit(tmp.File("private"), "private");
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        for (const char* folder : {"inbox", "outbox"}) {
            fsys::remove_all(tmp.File(folder));
            fsys::create_directory(tmp.File(folder));
        }
        lock->Clear();
        r.leave();
        Recover();
        if (*r.said == '\0') {
            EXPECT_TRUE(messages.texts.empty());
        } else {
            EXPECT_TRUE(Said(r.said)) << (messages.texts.empty() ? "" : messages.texts[0]);
        }
        EXPECT_EQ(Slurp(Out("001.7.gdt")) == delivered, r.gdtOurs);
        if (std::find(r.inbox.begin(), r.inbox.end(), "anfrage.gdt") != r.inbox.end()) {
            EXPECT_EQ(Slurp(settings.PathS), request);
        }
        EXPECT_EQ(Listing("inbox"), r.inbox);
        EXPECT_EQ(Listing("outbox"), r.outbox);
        // Finished: a second start finds nothing more to do.
        EXPECT_FALSE(lock->Read());
        Recover();
        EXPECT_TRUE(messages.texts.empty());
    }
    EXPECT_EQ(Slurp(tmp.File("private")), "private");
}

// The target folder away at the restart (a share not yet mounted: gone, or an
// empty folder in its place), or the setting changed since: nothing is
// decided, nothing changed, it is said naming the folder, and once the folder
// is back the next start finishes.
TEST_F(Handover, RecoveryWaitsWhileTheTargetFolderIsAwayOrAnother) {
    const struct {
        const char* what;
        bool ready;
        std::function<void()> away;
    } rows[] = {
        {"ready, folder gone", true, [&] { fsys::rename(tmp.File("outbox"), tmp.File("share")); }},
        {"ready, empty folder in its place", true,
         [&] {
             fsys::rename(tmp.File("outbox"), tmp.File("share"));
             fsys::create_directory(tmp.File("outbox"));
         }},
        {"claimed, empty folder in its place", false,
         [&] {
             fsys::rename(tmp.File("outbox"), tmp.File("share"));
             fsys::create_directory(tmp.File("outbox"));
         }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        fsys::remove_all(tmp.File("inbox"));
        fsys::remove_all(tmp.File("outbox"));
        fsys::create_directory(tmp.File("inbox"));
        fsys::create_directory(tmp.File("outbox"));
        lock->Clear();
        if (r.ready) {
            LeaveReady();
            fsys::remove(Out("001.7.zzz")); // taken in, or not: nobody can tell while away
        } else {
            LeaveClaimed();
            Spit(Out("001.7.zzz"), request);
        }
        r.away();
        settings.PathD = tmp.File("elsewhere"); // changed meanwhile: the record counts
        const auto before = lock->Read();
        Recover();
        EXPECT_TRUE(Said("Noch nicht entschieden")) << messages.texts.size();
        EXPECT_TRUE(Said(tmp.File("outbox").c_str()));
        EXPECT_FALSE(Said("Zugestellt"));
        EXPECT_EQ(lock->Read(), before);
        EXPECT_EQ(Listing("inbox"),
                  std::vector<std::string>{fsys::path(Claim()).filename().string()});
        // The share is back.
        fsys::remove_all(tmp.File("outbox"));
        fsys::rename(tmp.File("share"), tmp.File("outbox"));
        settings.PathD = tmp.File("outbox");
        Recover();
        EXPECT_TRUE(Said(r.ready ? "Zugestellt als" : "wieder an ihrem Platz"));
        EXPECT_EQ(Listing("outbox"), std::vector<std::string>{});
        EXPECT_FALSE(lock->Read());
    }
}

// The record lives with the program: a renamed computer, another PathS, the
// program folder moved, and a counter stuck at one number change nothing.
TEST_F(Handover, RecoveryFollowsTheRecordWhateverChangedAndNamesNeverCollide) {
    LeaveReady();
    settings.PathS = tmp.File("inbox/other.gdt");
    lock.reset();
    fsys::rename(tmp.File("prog"), tmp.File("moved"));
    Lock("moved");
    Recover();
    EXPECT_TRUE(Said("Zugestellt als"));
    EXPECT_EQ(Slurp(Out("001.7.gdt")), delivered);
    EXPECT_EQ(Listing("inbox"), std::vector<std::string>{});

    // A stuck counter: a run cut short after its claim, the next request
    // there, committed under the same number.
    fsys::remove(Out("001.7.gdt")); // taken in by the receiver
    settings.PathS = tmp.File("inbox/anfrage.gdt");
    LeaveClaimed();
    std::string newer = FormatGdtLine("3000", "4712");
    Spit(settings.PathS, newer);
    Recover();
    EXPECT_TRUE(Said("neue Anforderung"));
    std::swap(request, newer);
    EXPECT_EQ(Commit(7), CommitOutcome::Done) << (messages.texts.empty() ? "" : messages.texts[0]);
    std::swap(request, newer);
    EXPECT_EQ(Slurp(Out("001.7.gdt")), newer + FormatGdtLine("8411", code));
    fsys::remove(Out("001.7.gdt"));
    Recover(); // the interrupted one goes back now that its place is free
    EXPECT_TRUE(Said("wieder an ihrem Platz"));
    EXPECT_EQ(Commit(7), CommitOutcome::Done);
    EXPECT_EQ(Slurp(Out("001.7.gdt")), delivered);
    EXPECT_FALSE(lock->Read());
}

} // namespace
} // namespace tessaro::gdt
