// Hostile files beside the program at start-up: a Settings.ini that is a
// folder, huge or binary, a Bodypart.dat of 100,000 lines or with NUL bytes, a
// huge counter file. The window comes up within a second every time, and
// nothing it finds is changed except the counter it owns.
#include "app/frm_main_harness.h"
#include "platform/cp1252.h"
#include "selection/manual_buttons.h"
#include "support/freeze_limit.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <random>

namespace tessaro {
namespace {

using test::FormHarness;
using test::Slurp;
using test::Spit;

namespace fsys = std::filesystem;

class StartupFault : public ::testing::Test {
protected:
    // Start-up timed; the window must be up and no end requested.
    void StartWithinTheLimit() {
        const test::ProcessorStopwatch took;
        ASSERT_TRUE(h.Start());
        EXPECT_LT(took.Elapsed(), test::kFreezeLimit);
        ASSERT_TRUE(h.ends.empty());
        ASSERT_TRUE(h.form->isVisible());
    }

    FormHarness h;
};

TEST_F(StartupFault, SettingsIniThatIsAFolderGivesTheDefaultsAndStaysAFolder) {
    fsys::create_directory(h.iniPath());
    h.WriteRequest(test::Request("4711", "Erika", "Muster"));
    StartWithinTheLimit();
    EXPECT_TRUE(h.messages.texts.empty());
    EXPECT_EQ(h.form->Settings().LumeoID, "001");
    EXPECT_TRUE(h.form->RequestText().empty()); // PathS empty: nothing imported
    h.Find<QLineEdit>("txtShort")->setText("MK");
    h.form->close(); // the short code cannot be saved, and the unload says so
    EXPECT_EQ(h.ends, std::vector<int>{0});
    ASSERT_EQ(h.messages.texts.size(), 1u);
    EXPECT_NE(h.messages.texts[0].find(h.iniPath()), std::string::npos);
    EXPECT_TRUE(fsys::is_directory(h.iniPath()));
}

TEST_F(StartupFault, LargeSettingsIniIsReadAndKeptWhole) {
    h.WriteIni({.shortCode = "MK"});
    std::string filler;
    for (int i = 0; filler.size() < 1'000'000; ++i)
        filler += "[Filler" + std::to_string(i) + "]\r\nkey=" + std::string(100, 'x') + "\r\n";
    const std::string ini = filler + Slurp(h.iniPath());
    Spit(h.iniPath(), ini);
    h.WriteRequest(test::Request("4711", "Erika", "Muster"));
    StartWithinTheLimit();
    EXPECT_EQ(h.Find<QLineEdit>("txtShort")->text(), "MK");
    EXPECT_EQ(h.form->Settings().PathD, h.outbox());
    EXPECT_FALSE(h.form->RequestText().empty());
    h.form->close();
    EXPECT_TRUE(Slurp(h.iniPath()) == ini); // the same short code saved in place
}

TEST_F(StartupFault, BinarySettingsIniStartsAndLosesNoByte) {
    std::mt19937 random(61);
    std::string noise(256 * 1024, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    Spit(h.iniPath(), noise);
    StartWithinTheLimit();
    h.Find<QLineEdit>("txtShort")->setText("MK");
    h.form->close();
    const std::string after = Slurp(h.iniPath());
    EXPECT_EQ(after.substr(0, noise.size()), noise);
}

TEST_F(StartupFault, FortyThousandLineBodypartShowsTheLastLineOfEachButton) {
    h.WriteIni({.manual = "1"});
    std::string file;
    for (int i = 0; i < 40000; ++i)
        file += std::to_string(i % 66) + "|Knopf " + std::to_string(i) + "|K" + std::to_string(i) +
                "\r\n";
    h.WriteManualButtons(file);
    StartWithinTheLimit();
    EXPECT_TRUE(h.Find("picManual")->isVisible());
    EXPECT_EQ(h.Find<QPushButton>("cmdManual(0)")->text(), "Knopf 39996");
    EXPECT_EQ(h.Find<QPushButton>("cmdManual(65)")->text(), "Knopf 39995");
}

// Over 1 MB the file is not read: the operator is told by name and works with
// the catalogue, and the stored setting stays on. Up to there a caption as
// long as the whole file neither freezes the start nor a press.
TEST_F(StartupFault, BodypartIsReadUpToOneMegabyte) {
    h.WriteIni({.manual = "1"});
    h.WriteManualButtons("4|" + std::string(selection::manual::kMaxFileBytes, 'L') + "|LL");
    StartWithinTheLimit();
    ASSERT_EQ(h.messages.texts.size(), 1u);
    EXPECT_NE(h.messages.texts[0].find("Bodypart.dat"), std::string::npos);
    EXPECT_TRUE(h.Find("picNoManual")->isVisible());
    EXPECT_TRUE(h.form->Settings().Manual);
    h.form->close();

    FormHarness again;
    again.WriteIni({.manual = "1"});
    again.WriteManualButtons("4|" + std::string(selection::manual::kMaxFileBytes - 10, 'L') +
                             "|LL");
    // Processor time of this process, so that a loaded machine does not fail it.
    const test::ProcessorStopwatch took;
    ASSERT_TRUE(again.Start());
    const auto started = took.Elapsed();
    again.form->cmdManual_MouseDown(4, 1, 0);
    const auto pressed = took.Elapsed();
    std::cout << "[ figures  ] 1 MB caption: start-up " << started.count() << " ms, press "
              << (pressed - started).count() << " ms\n";
    EXPECT_LT(pressed, test::kFreezeLimit);
    EXPECT_EQ(again.form->SelectionCode(), "LL");
    EXPECT_TRUE(again.messages.texts.empty());
}

TEST_F(StartupFault, BodypartWithNulBytesAndOddNumbersShowsOnlyWellFormedButtons) {
    using namespace std::string_literals;
    h.WriteIni({.manual = "1"});
    h.WriteManualButtons("3|Hand\0links|HA\0*\r\n\0\0\0\r\n66|zu gross|Z\r\n-1|neg|N\r\n"
                         "99999999999999999999|gross|G\r\n4\0|x|y\r\n5|Fuss|FU"s);
    StartWithinTheLimit();
    EXPECT_TRUE(h.messages.texts.empty());
    int visible = 0;
    for (int i = 0; i < 66; ++i)
        visible += h.Find(("cmdManual(" + std::to_string(i) + ")").c_str())->isVisible() ? 1 : 0;
    EXPECT_EQ(visible, 2);
    EXPECT_TRUE(h.Find("cmdManual(3)")->isVisible());
    EXPECT_TRUE(h.Find("cmdManual(5)")->isVisible());
}

TEST_F(StartupFault, BodypartThatIsAFolderLeavesTheCatalogue) {
    h.WriteIni({.manual = "1"});
    fsys::create_directory(h.dir.File("Bodypart.dat"));
    StartWithinTheLimit();
    EXPECT_TRUE(h.Find("picNoManual")->isVisible());
    EXPECT_FALSE(h.Find("picManual")->isVisible());
}

TEST_F(StartupFault, HugeCounterFileIsReportedOnceAndKept) {
    h.WriteIni({});
    h.WriteRequest(test::Request("4711", "Erika", "Muster"));
    const std::string digits(10u << 20, '9');
    Spit(h.dir.File("GDTcount.txt"), digits);
    StartWithinTheLimit();
    EXPECT_EQ(h.form->SequenceNumber(), 1);
    ASSERT_EQ(h.messages.texts.size(), 1u);
    EXPECT_NE(h.messages.texts[0].find("GDTcount.txt"), std::string::npos);
    EXPECT_TRUE(Slurp(h.dir.File("GDTcount.txt")) == digits);
}

} // namespace
} // namespace tessaro
