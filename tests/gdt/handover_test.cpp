// The hand-over of a request on both platforms: the claim's names, the commit
// that claims before it delivers, and the recovery that finishes or undoes an
// interrupted commit from what it left on disk.
#include "gdt/claim.h"
#include "gdt/commit.h"
#include "gdt/gdt_line.h"
#include "gdt/recovery.h"
#include "gdt/result_writer.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace tessaro::gdt {
namespace {

using test::Slurp;
using test::Spit;
namespace fsys = std::filesystem;

TEST(ClaimName, CarriesRequestNumberAndLumeoIdForItsOwnWorkplaceOnly) {
    const Claim claims[] = {
        {"anfrage.gdt", 7, "001", false}, {"a.b.c", -32768, "x.y", true}, {"r", 32767, "", false}};
    for (const Claim& c : claims) {
        const std::string name = ClaimName(c, "0123456789abcdef");
        const auto back = ParseClaimName(name, "0123456789abcdef");
        ASSERT_TRUE(back) << name;
        EXPECT_EQ(back->requestName, c.requestName);
        EXPECT_EQ(back->number, c.number);
        EXPECT_EQ(back->lumeoId, c.lumeoId);
        EXPECT_EQ(back->ready, c.ready);
        EXPECT_FALSE(ParseClaimName(name, "fedcba9876543210")) << "another workplace's";
    }
    for (const char* other : {"anfrage.gdt", ".tessaro-w.7.001.claim", "a.tessaro-w.x.001.claim",
                              "a.tessaro-w.7.001.claimed", "a.tessaro-w.7.claim"})
        EXPECT_FALSE(ParseClaimName(other, "w")) << other;
    EXPECT_NE(WorkplaceTag("pc1", "C:\\Tessaro"), WorkplaceTag("pc2", "C:\\Tessaro"));
    EXPECT_NE(WorkplaceTag("pc1", "C:\\Tessaro"), WorkplaceTag("pc1", "C:\\Tessaro2"));
    EXPECT_EQ(WorkplaceTag("pc1", "C:\\Tessaro").size(), 16u);
}

class Handover : public ::testing::Test {
protected:
    Handover() {
        fsys::create_directory(tmp.File("inbox"));
        fsys::create_directory(tmp.File("outbox"));
        settings.PathS = tmp.File("inbox/anfrage.gdt");
        settings.PathD = tmp.File("outbox");
        settings.LumeoID = "001";
    }
    std::string Out(const char* name) const { return tmp.File(std::string("outbox/") + name); }
    std::string In(const std::string& name) const { return tmp.File("inbox/" + name); }
    std::string ClaimFile(bool ready, const char* workplace = "wp1") const {
        return In(ClaimName(Claim{"anfrage.gdt", 7, "001", ready}, workplace));
    }
    CommitOutcome Commit(const std::string& workplace = "wp1", std::int16_t n = 7) {
        return CommitRequest(CommitInput{settings, n, request, code, settings.PathS, workplace},
                             messages);
    }
    std::vector<std::string> Listing(const char* folder) const {
        std::vector<std::string> names;
        for (const auto& e : fsys::directory_iterator(tmp.File(folder)))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempDir tmp;
    config::ProgramSettings settings;
    test::RecordingMessageBox messages;
    std::string request = FormatGdtLine("3000", "4711") + FormatGdtLine("3101", "Muster");
    std::string code = "BW2E";
    std::string delivered = request + FormatGdtLine("8411", "BW2E");
};

// The road, and the two workplaces that race for one name or one request: the
// one that comes second delivers nothing and removes nothing of the first's.
TEST_F(Handover, CommitClaimsFirstAndTouchesOnlyItsOwnFiles) {
    Spit(settings.PathS, request);
    EXPECT_EQ(Commit(), CommitOutcome::Done);
    EXPECT_EQ(Slurp(Out("001.7.gdt")), delivered);
    EXPECT_EQ(Listing("inbox"), std::vector<std::string>{});
    EXPECT_EQ(Listing("outbox"), std::vector<std::string>{"001.7.gdt"});
    EXPECT_TRUE(messages.texts.empty());

    // Another workplace, same Lumeo ID and number, is writing its .zzz.
    Spit(settings.PathS, request);
    Spit(Out("001.8.zzz"), "theirs");
    EXPECT_EQ(Commit("wp2", 8), CommitOutcome::NotDelivered);
    EXPECT_EQ(Slurp(Out("001.8.zzz")), "theirs");
    EXPECT_FALSE(fsys::exists(Out("001.8.gdt")));
    EXPECT_EQ(Slurp(settings.PathS), request);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_NE(messages.texts[0].find("n\xE4"
                                     "chsten Start wird die n\xE4"
                                     "chste Nummer"),
              std::string::npos);

    // The request taken by another workplace in the meantime.
    messages.texts.clear();
    fsys::remove(settings.PathS);
    EXPECT_EQ(Commit("wp2", 9), CommitOutcome::NotDelivered);
    EXPECT_FALSE(fsys::exists(Out("001.9.gdt")));
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_NE(messages.texts[0].find("nicht mehr da"), std::string::npos);
}

// Each state an interrupted commit can leave, and what the next start makes
// of it: delivered exactly once, or back at its path; never both, never lost.
TEST_F(Handover, RecoveryFinishesOrUndoesByTheClaimsMark) {
    const std::string partial = request.substr(0, 10);
    const struct {
        const char* what;
        std::function<void()> leave;
        const char* said; // part of the one message; "" for none
        bool gdtOurs;     // 001.7.gdt then holds the delivered bytes
        bool requestBack;
        std::vector<std::string> inbox, outbox;
    } rows[] = {
        {"nothing left", [] {}, "", false, false, {}, {}},
        {"claimed, nothing written",
         [&] { Spit(ClaimFile(false), request); },
         "wieder an ihrem Platz",
         false,
         true,
         {"anfrage.gdt"},
         {}},
        {"claimed, .zzz cut short",
         [&] {
             Spit(ClaimFile(false), request);
             Spit(Out("001.7.zzz"), request + "013");
         },
         "wieder an ihrem Platz",
         false,
         true,
         {"anfrage.gdt"},
         {}},
        {"claimed, someone else's .zzz",
         [&] {
             Spit(ClaimFile(false), request);
             Spit(Out("001.7.zzz"), partial);
         },
         "wieder an ihrem Platz",
         false,
         true,
         {"anfrage.gdt"},
         {"001.7.zzz"}},
        {"claimed, a newer request at the path",
         [&] {
             Spit(ClaimFile(false), request);
             Spit(settings.PathS, "newer");
         },
         "neue Anforderung",
         false,
         false,
         {"anfrage.gdt", "anfrage.gdt.tessaro-wp1.7.001.claim"},
         {}},
        {"ready, .zzz complete",
         [&] {
             Spit(ClaimFile(true), request);
             Spit(Out("001.7.zzz"), delivered);
         },
         "Zugestellt als",
         true,
         false,
         {},
         {"001.7.gdt"}},
        {"ready, .zzz renamed",
         [&] {
             Spit(ClaimFile(true), request);
             Spit(Out("001.7.gdt"), delivered);
         },
         "Zugestellt als",
         true,
         false,
         {},
         {"001.7.gdt"}},
        {"ready, .gdt already taken in by the receiver",
         [&] { Spit(ClaimFile(true), request); },
         "Zugestellt als",
         false,
         false,
         {},
         {}},
        {"ready, .zzz renamed, another workplace's .zzz since",
         [&] {
             Spit(ClaimFile(true), request);
             Spit(Out("001.7.zzz"), "theirs");
         },
         "Zugestellt als",
         false,
         false,
         {},
         {"001.7.zzz"}},
        {"ready, both names of one file",
         [&] {
             Spit(ClaimFile(true), request);
             Spit(Out("001.7.zzz"), delivered);
             Spit(Out("001.7.gdt"), delivered);
         },
         "Zugestellt als",
         true,
         false,
         {},
         {"001.7.gdt"}},
        {"ready, the final name someone else's",
         [&] {
             Spit(ClaimFile(true), request);
             Spit(Out("001.7.zzz"), delivered);
             Spit(Out("001.7.gdt"), "older");
         },
         "schon vergeben",
         false,
         true,
         {"anfrage.gdt"},
         {"001.7.gdt", "001.7.zzz"}},
        {"another workplace's claim",
         [&] {
             Spit(ClaimFile(false, "wp2"), request);
             Spit(Out("001.7.zzz"), request);
         },
         "",
         false,
         false,
         {"anfrage.gdt.tessaro-wp2.7.001.claim"},
         {"001.7.zzz"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        messages.texts.clear();
        for (const char* folder : {"inbox", "outbox"}) {
            fsys::remove_all(tmp.File(folder));
            fsys::create_directory(tmp.File(folder));
        }
        r.leave();
        RecoverInterruptedCommits(settings, "wp1", messages);
        if (*r.said == '\0') {
            EXPECT_TRUE(messages.texts.empty());
        } else {
            ASSERT_EQ(messages.texts.size(), 1u);
            EXPECT_NE(messages.texts[0].find(r.said), std::string::npos) << messages.texts[0];
        }
        if (r.gdtOurs) {
            EXPECT_EQ(Slurp(Out("001.7.gdt")), delivered);
        }
        if (r.requestBack) {
            EXPECT_EQ(Slurp(settings.PathS), request);
        }
        EXPECT_EQ(Listing("inbox"), r.inbox);
        EXPECT_EQ(Listing("outbox"), r.outbox);
        // A second start finds nothing more to do.
        messages.texts.clear();
        RecoverInterruptedCommits(settings, "wp1", messages);
        EXPECT_EQ(messages.texts.size(), std::string(r.what).find("newer") != std::string::npos);
    }
}

} // namespace
} // namespace tessaro::gdt
