// OK from end to end: the target file in place under its final name, the
// request deleted only after that, and every way a commit can stop short.
#include "app/commit_fixture.h"
#include "platform/cp1252.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tessaro {
namespace {

using test::FormHarness;
using test::Slurp;
using test::Spit;

namespace fsys = std::filesystem;

class CommitFromWindow : public test::CommitFixture {
protected:
    bool Exists(const std::string& path) { return fsys::exists(path); }
};

TEST_F(CommitFromWindow, WritesTheFinalFileDeletesTheRequestAndCloses) {
    StartReady();
    h.Find<QLineEdit>("txtShort")->setText("cd");
    PressOk();
    EXPECT_EQ(Slurp(h.dir.File("outbox/001.7.gdt")), request + "0138411BW2E\r\n");
    EXPECT_FALSE(Exists(h.dir.File("outbox/001.7.zzz")));
    EXPECT_FALSE(Exists(h.requestPath()));
    EXPECT_EQ(h.ends, std::vector<int>{0});
    EXPECT_FALSE(h.form->isVisible());
    EXPECT_NE(Slurp(h.iniPath()).find("K\xFCrzel=cd\r\n"), std::string::npos);
    EXPECT_TRUE(h.messages.texts.empty());
}

TEST_F(CommitFromWindow, StudyDescWritesField6227) {
    StartReady({.studyDesc = true});
    PressOk();
    EXPECT_EQ(Slurp(h.dir.File("outbox/001.7.gdt")), request + "0136227BW2E\r\n");
}

TEST_F(CommitFromWindow, DeletesAReadOnlyRequest) {
    StartReady();
    fsys::permissions(h.requestPath(), fsys::perms::owner_read | fsys::perms::group_read);
    PressOk();
    EXPECT_FALSE(Exists(h.requestPath()));
    EXPECT_TRUE(Exists(h.dir.File("outbox/001.7.gdt")));
    EXPECT_EQ(h.ends, std::vector<int>{0});
}

TEST_F(CommitFromWindow, ExistingFinalFileEndsWithAnErrorAndKeepsEverything) {
    StartReady();
    Spit(h.dir.File("outbox/001.7.gdt"), "older");
    PressOk();
    ASSERT_EQ(h.messages.texts.size(), 1u);
    EXPECT_NE(h.messages.texts[0].find("58 - Datei existiert bereits"), std::string::npos);
    EXPECT_EQ(h.ends, std::vector<int>{2});
    EXPECT_EQ(Slurp(h.dir.File("outbox/001.7.gdt")), "older");
    // No patient data is left behind under the .zzz name.
    EXPECT_FALSE(fsys::exists(h.dir.File("outbox/001.7.zzz")));
    EXPECT_EQ(Slurp(h.requestPath()), request);
    EXPECT_EQ(Slurp(h.iniPath()), iniBefore); // no unload
    // Nothing runs after the end, not even a second press.
    QTest::mouseClick(h.Find("cmdOK"), Qt::LeftButton);
    h.form->close();
    EXPECT_EQ(h.ends, std::vector<int>{2});
    EXPECT_EQ(Slurp(h.iniPath()), iniBefore);
}

TEST_F(CommitFromWindow, MissingTargetDirectoryKeepsTheRequestAndTheWindowForAnotherTry) {
    StartReady();
    fsys::remove(h.outbox());
    PressOk();
    ASSERT_EQ(h.messages.texts.size(), 1u);
    EXPECT_EQ(h.messages.texts[0], "Zielverzeichnis nicht gefunden.\r\n" + h.outbox());
    EXPECT_TRUE(h.ends.empty());
    EXPECT_TRUE(h.form->isVisible());
    EXPECT_EQ(Slurp(h.requestPath()), request);

    fsys::create_directory(h.outbox());
    PressOk();
    EXPECT_TRUE(Exists(h.dir.File("outbox/001.7.gdt")));
    EXPECT_FALSE(Exists(h.requestPath()));
    EXPECT_EQ(h.ends, std::vector<int>{0});
}

// Withdrawn, or taken by another workplace, while the window was open:
// nothing is delivered and the program ends saying so.
TEST_F(CommitFromWindow, RequestGoneBeforeOkDeliversNothingAndSaysSo) {
    StartReady();
    fsys::remove(h.requestPath());
    PressOk();
    ASSERT_EQ(h.messages.texts.size(), 1u);
    EXPECT_NE(h.messages.texts[0].find("Die Anforderung ist nicht mehr da:"), std::string::npos);
    EXPECT_FALSE(Exists(h.dir.File("outbox/001.7.gdt")));
    EXPECT_TRUE(fsys::is_empty(h.outbox()));
    EXPECT_EQ(h.ends, std::vector<int>{2});
    EXPECT_EQ(Slurp(h.iniPath()), iniBefore);
}

TEST(CommitWithoutRequest, ShowsTheTwoLineMessageAndEndsWithoutUnload) {
    FormHarness h;
    h.WriteIni({.shortCode = "ab"});
    ASSERT_TRUE(h.Start());
    const std::string ini = Slurp(h.iniPath());
    QTest::mousePress(h.Find("cmdQB(6)"), Qt::LeftButton);
    h.Find<QLineEdit>("txtShort")->setText("zz");
    QTest::mouseClick(h.Find("cmdOK"), Qt::LeftButton);
    ASSERT_EQ(h.messages.texts.size(), 1u);
    EXPECT_EQ(h.messages.texts[0], "Die Daten konnten nicht korrekt ausgelesen werden.\r\n"
                                   "Bitte starten Sie das Programm erneut.");
    EXPECT_EQ(h.ends, std::vector<int>{1});
    EXPECT_EQ(Slurp(h.iniPath()), ini);
    EXPECT_TRUE(fsys::is_empty(h.outbox()));
}

} // namespace
} // namespace tessaro
