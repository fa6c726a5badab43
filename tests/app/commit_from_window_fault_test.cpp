// Faults around a commit, each injected on purpose: whatever happens, the
// request stays until a complete .gdt is in place, and no cut .gdt appears.
#include "app/commit_fixture.h"
#include "platform/cp1252.h"
#include "support/file_size_limit.h"
#include "support/freeze_limit.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tessaro {
namespace {

using test::FormHarness;
using test::Slurp;
using test::Spit;

namespace fsys = std::filesystem;

class CommitFromWindowFault : public test::CommitFixture {
protected:
    // The promise of every fault below: the request is still there, byte for
    // byte, and no .gdt exists at all.
    void ExpectNothingLost() {
        EXPECT_EQ(Slurp(h.requestPath()), request) << "the request was lost";
        for (const auto& entry : fsys::directory_iterator(h.outbox()))
            EXPECT_NE(entry.path().extension(), ".gdt") << entry.path();
    }
};

TEST_F(CommitFromWindowFault, TargetFolderThatIsAFileCreatesNothingAndKeepsTheWindow) {
    StartReady(test::Request("4711", "Erika", "Muster"));
    fsys::remove(h.outbox());
    Spit(h.outbox(), "not a folder");
    PressOk();
    EXPECT_EQ(h.messages.texts,
              std::vector<std::string>{"Zielverzeichnis nicht gefunden.\r\n" + h.outbox()});
    EXPECT_TRUE(h.ends.empty());
    EXPECT_TRUE(h.form->isVisible());
    EXPECT_EQ(Slurp(h.outbox()), "not a folder");
    EXPECT_EQ(Slurp(h.requestPath()), request);
}

TEST_F(CommitFromWindowFault, ReadOnlyTargetFolderEndsWithAnErrorAndKeepsTheRequest) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into folders without write permission; the full disk and "
                        "the folder that is a file stand in for it";
    StartReady(test::Request("4711", "Erika", "Muster"));
    fsys::permissions(h.outbox(), fsys::perms::owner_read | fsys::perms::owner_exec);
    PressOk();
    EXPECT_EQ(h.ends, std::vector<int>{2});
    EXPECT_EQ(h.messages.texts.size(), 1u);
    ExpectNothingLost();
    fsys::permissions(h.outbox(), fsys::perms::owner_all);
}

TEST_F(CommitFromWindowFault, DiskFullHalfWayLeavesNoFinalFileAndTheRequestInPlace) {
    StartReady(test::Request("4711", "Erika", "Muster") +
               std::string(4000, 'x')); // long enough to be cut in the middle
    {
        const test::FileSizeLimit limit(request.size() / 2);
        ASSERT_TRUE(limit.active());
        PressOk();
    }
    EXPECT_EQ(h.ends, std::vector<int>{2});
    ASSERT_EQ(h.messages.texts.size(), 1u);
    EXPECT_NE(h.messages.texts[0].find(platform::cp1252::Ansi("61 - Datenträger voll")),
              std::string::npos);
    ExpectNothingLost();
    EXPECT_EQ(Slurp(h.iniPath()), iniBefore) << "the unload ran after a failure";
}

TEST_F(CommitFromWindowFault, RequestReplacedByAFolderIsLeftInPlaceAndNothingDelivered) {
    StartReady(test::Request("4711", "Erika", "Muster"));
    fsys::remove(h.requestPath());
    fsys::create_directory(h.requestPath());
    PressOk();
    EXPECT_FALSE(fsys::exists(Final()));
    EXPECT_TRUE(fsys::is_directory(h.requestPath()));
    EXPECT_EQ(h.ends, std::vector<int>{2});
    EXPECT_EQ(h.messages.texts.size(), 1u);
    EXPECT_EQ(std::distance(fsys::directory_iterator(h.inbox()), {}), 1);
}

// The practice system may leave the next request at the same path while the
// operator still works on this one: that one was never shown, so nothing is
// delivered, and it stays untouched for the next start.
TEST_F(CommitFromWindowFault, NewerRequestAtThePathIsNotDeliveredNorTouched) {
    StartReady(test::Request("4711", "Erika", "Muster"));
    const std::string newer = test::Request("4712", "Max", "Neu");
    Spit(h.requestPath(), newer);
    PressOk();
    EXPECT_FALSE(fsys::exists(Final()));
    EXPECT_EQ(Slurp(h.requestPath()), newer);
    EXPECT_EQ(h.ends, std::vector<int>{2});
    ASSERT_EQ(h.messages.texts.size(), 1u);
    EXPECT_NE(h.messages.texts[0].find("ge\xE4ndert"), std::string::npos);
    EXPECT_EQ(std::distance(fsys::directory_iterator(h.inbox()), {}), 1);
}

TEST_F(CommitFromWindowFault, FinalNameTakenByAFolderKeepsTheRequest) {
    StartReady(test::Request("4711", "Erika", "Muster"));
    fsys::create_directory(Final());
    PressOk();
    EXPECT_EQ(h.ends, std::vector<int>{2});
    EXPECT_EQ(h.messages.texts.size(), 1u);
    EXPECT_TRUE(fsys::is_empty(Final()));
    EXPECT_FALSE(fsys::exists(Temporary()));
    EXPECT_EQ(Slurp(h.requestPath()), request);
}

TEST_F(CommitFromWindowFault, FiftyMegabyteRequestStartsAndCommitsWithoutAFreeze) {
    std::string big = test::Request("4711", "Erika", "Muster");
    const std::string filler = test::GdtLine("6220", std::string(29, 'b'));
    while (big.size() < (50u << 20))
        big += filler;
    StartReady(big);
    // Far more than 32,767 lines: reported at start-up, the text kept whole.
    ASSERT_EQ(h.messages.texts.size(), 1u);
    EXPECT_EQ(h.messages.texts[0],
              platform::cp1252::Ansi("Es ist ein Fehler aufgetreten.\r\n6 - Überlauf"));
    EXPECT_EQ(h.Find<QLabel>("StateBar.Panel(1)")->text(), "ID:");
    h.messages.texts.clear();
    PressOk();
    EXPECT_TRUE(h.messages.texts.empty());
    EXPECT_EQ(h.ends, std::vector<int>{0});
    EXPECT_TRUE(Slurp(Final()) == Expected());
    EXPECT_FALSE(fsys::exists(h.requestPath()));
    std::cout << "[ figures  ] 50 MB request: start-up " << startMs << " ms, commit " << commitMs
              << " ms\n";
    EXPECT_LT(startMs, test::kFreezeLimit.count());
    EXPECT_LT(commitMs, test::kFreezeLimit.count());
}

TEST_F(CommitFromWindowFault, FiftyMegabytesInOneLineShowWithoutAFreeze) {
    // LF line ends make the whole file one line: the patient number panel
    // would hold all 50 MB.
    StartReady("0143000" + std::string(50u << 20, '9') + "\n");
    EXPECT_TRUE(h.messages.texts.empty());
    EXPECT_EQ(h.form->RequestText().size(), request.size());
    QApplication::processEvents();
    std::cout << "[ figures  ] 50 MB in one line: start-up " << startMs << " ms\n";
    EXPECT_LT(startMs, test::kFreezeLimit.count());
}

TEST_F(CommitFromWindowFault, FortyThousandLinesAreReportedAndCommittedWhole) {
    std::string text = test::Request("4711", "Erika", "Muster");
    for (int i = 0; i < 40000; ++i)
        text += test::GdtLine("6228", "Zeile " + std::to_string(i));
    StartReady(text);
    EXPECT_EQ(h.messages.texts.size(), 1u);
    h.messages.texts.clear();
    PressOk();
    EXPECT_TRUE(Slurp(Final()) == Expected());
    EXPECT_FALSE(fsys::exists(h.requestPath()));
    EXPECT_LT(startMs, test::kFreezeLimit.count());
    EXPECT_LT(commitMs, test::kFreezeLimit.count());
}

} // namespace
} // namespace tessaro
