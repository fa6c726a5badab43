// Start-up and shutdown of the main window in-process: the disabled quick
// buttons, the panel choice, the caption, a start without a request, messages
// before the window, the saved short code and the OK rule after start-up.
#include "app/frm_main_harness.h"
#include "platform/cp1252.h"
#include "ui/examination_button.h"
#include "ui/text.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

namespace tessaro {
namespace {

using test::FormHarness;
using test::IniValues;
using test::Request;
using test::Slurp;
using test::Spit;

QString Caption(const FormHarness& h) {
    return h.form->windowTitle();
}
QString Panel(const FormHarness& h, const char* name) {
    return h.Find<QLabel>(name)->text();
}

TEST(Startup, DisablesExactlyTheQuickButtonsWithoutCode) {
    FormHarness h;
    h.WriteIni({.manual = "1"});
    ASSERT_TRUE(h.Start());
    std::set<int> disabled;
    for (int i = 0; i <= 57; ++i) {
        auto* b = h.Find<QPushButton>(QStringLiteral("cmdQB(%1)").arg(i).toLatin1().constData());
        if (i == 5 || i == 10 || i == 15 || i == 20 || i == 25) {
            EXPECT_EQ(b, nullptr);
            continue;
        }
        ASSERT_NE(b, nullptr) << i;
        if (!b->isEnabled())
            disabled.insert(i);
    }
    const std::set<int> expected{0,  8,  19, 21, 35, 36, 37, 38, 39, 40, 41, 42,
                                 43, 44, 47, 48, 49, 50, 51, 52, 53, 55, 56};
    EXPECT_EQ(disabled, expected);
}

struct PanelCase {
    const char* manual;
    bool bodypart;
    bool manualShown;
};

void PrintTo(const PanelCase& c, std::ostream* out) {
    *out << "Manual=" << c.manual << (c.bodypart ? " with" : " without") << " Bodypart.dat";
}

std::string PanelCaseName(const ::testing::TestParamInfo<PanelCase>& info) {
    std::string manual = info.param.manual;
    if (manual.starts_with('-'))
        manual = "Minus" + manual.substr(1);
    return "Manual" + manual + (info.param.bodypart ? "WithFile" : "WithoutFile");
}

class PanelChoice : public ::testing::TestWithParam<PanelCase> {};

TEST_P(PanelChoice, ShowsExactlyOnePanel) {
    const PanelCase c = GetParam();
    FormHarness h;
    h.WriteIni({.manual = c.manual});
    if (c.bodypart)
        h.WriteManualButtons("0|Thorax|TH\r\n7|Hand|HA*");
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(h.Find("picManual")->isVisible(), c.manualShown);
    EXPECT_EQ(h.Find("picNoManual")->isVisible(), !c.manualShown);
    EXPECT_EQ(h.Find("cmdManual(0)")->isVisible(), c.manualShown);
    EXPECT_EQ(h.Find<QPushButton>("cmdManual(0)")->text().isEmpty(), !c.manualShown);
    EXPECT_FALSE(h.Find("cmdManual(1)")->isVisible());
    EXPECT_TRUE(h.messages.texts.empty());
}

INSTANTIATE_TEST_SUITE_P(ManualAndFile, PanelChoice,
                         ::testing::Values(PanelCase{"0", false, false},
                                           PanelCase{"0", true, false},
                                           PanelCase{"1", false, false},
                                           PanelCase{"-1", true, true}),
                         PanelCaseName);

TEST(Startup, ManualButtonsShowCaptionsLiterallyAndPassOverBrokenLines) {
    FormHarness h;
    h.WriteIni({.manual = "1"});
    h.WriteManualButtons(
        "3|Hand & Fu\xDF|HA*\r\n\r\n66|Zu weit|X\r\nx|Keine Zahl|Y\r\n4|Zwei Felder\r\n"
        "9|Erst|E1\r\n9|Dann|E2|mehr");
    ASSERT_TRUE(h.Start());
    auto* hand = h.Find<QPushButton>("cmdManual(3)");
    EXPECT_TRUE(hand->isVisible());
    EXPECT_EQ(hand->text(), QString::fromUtf8("Hand && Fuß"));
    EXPECT_TRUE(QKeySequence::mnemonic(hand->text()).isEmpty());
    EXPECT_EQ(h.Find<QPushButton>("cmdManual(9)")->text(), "Dann");
    int visible = 0;
    for (int i = 0; i < 66; ++i)
        visible +=
            h.Find(QStringLiteral("cmdManual(%1)").arg(i).toLatin1().constData())->isVisible();
    EXPECT_EQ(visible, 2);
}

TEST(Startup, CaptionAndPanelsShowTheImportedPatient) {
    FormHarness h;
    h.WriteIni({});
    h.WriteRequest(Request("4711", "j\xFCrgen", "M\xFCller-wei\xDF"));
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(Caption(h), QString::fromUtf8("Velt - Tessaro [JÜRGEN MÜLLER-WEIß]"));
    EXPECT_EQ(Panel(h, "StateBar.Panel(1)"), "ID: 4711");
    EXPECT_EQ(Panel(h, "StateBar.Panel(2)"), QString::fromUtf8("VN: jürgen"));
    EXPECT_EQ(Panel(h, "StateBar.Panel(3)"), QString::fromUtf8("NN: Müller-weiß"));
    EXPECT_EQ(h.form->RequestText(), Slurp(h.requestPath()));
}

TEST(Startup, CaptionWithAMissingFirstName) {
    FormHarness h;
    h.WriteIni({});
    h.WriteRequest(test::GdtLine("3000", "12") + test::GdtLine("3101", "Meier"));
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(Caption(h), "Velt - Tessaro [ MEIER]");
    EXPECT_EQ(Panel(h, "StateBar.Panel(2)"), "VN:");
}

TEST(Startup, WithoutARequestTheWindowOpensEmptyAndStillDrawsANumber) {
    FormHarness h;
    h.WriteIni({});
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(Caption(h), "Velt - Tessaro [ ]");
    EXPECT_EQ(Panel(h, "StateBar.Panel(1)"), "ID:");
    EXPECT_EQ(Panel(h, "StateBar.Panel(2)"), "VN:");
    EXPECT_EQ(Panel(h, "StateBar.Panel(3)"), "NN:");
    EXPECT_TRUE(h.form->RequestText().empty());
    EXPECT_EQ(h.form->SequenceNumber(), 1);
    EXPECT_EQ(Slurp(h.dir.File("GDTcount.txt")), "1");
    EXPECT_TRUE(h.messages.texts.empty());
    EXPECT_TRUE(h.ends.empty());
}

// A link at PathS is the request only when the operator or root made it; one
// another account planted would hand a file the operator may read to the
// target folder.
TEST(Startup, LinkOfAnotherAccountAtThePathIsNoRequest) {
    FormHarness h;
    h.WriteIni({});
    Spit(h.dir.File("private.gdt"), Request("4711", "Geheim", "Privat"));
    std::filesystem::create_symlink(h.dir.File("private.gdt"), h.requestPath());
    if (::lchown(h.requestPath().c_str(), 65534, 65534) != 0)
        GTEST_SKIP() << "only root can give a link to another account";
    ASSERT_TRUE(h.Start());
    EXPECT_TRUE(h.form->RequestText().empty());
    EXPECT_EQ(Panel(h, "StateBar.Panel(1)"), "ID:");
    EXPECT_TRUE(h.messages.texts.empty());
}

TEST(Startup, WithoutSettingsIniStartsWithDefaults) {
    FormHarness h;
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(h.form->Settings().LumeoID, "001");
    EXPECT_TRUE(h.Find<QLineEdit>("txtMod")->text().isEmpty());
    EXPECT_TRUE(h.Find("picNoManual")->isVisible());
}

// A recorder that also notes whether the window was already on screen.
class VisibilityRecorder : public platform::OperatorMessages {
public:
    void ShowError(const std::string& text) override {
        texts.push_back(text);
        windowVisible.push_back(window != nullptr && window->isVisible());
    }
    QWidget* window = nullptr;
    std::vector<std::string> texts;
    std::vector<bool> windowVisible;
};

TEST(Startup, CounterMessageComesBeforeTheWindow) {
    FormHarness h;
    h.WriteIni({});
    Spit(h.dir.File("GDTcount.txt"), "abc");
    VisibilityRecorder recorder;
    h.form = std::make_unique<app::FrmMain>(app::Environment{
        h.dir.path(), recorder, h.folders, h.record, [&](int s) { h.ends.push_back(s); }});
    recorder.window = h.form.get();
    ASSERT_TRUE(h.form->Form_Load());
    h.form->show();
    ASSERT_EQ(recorder.texts.size(), 1u);
    EXPECT_EQ(recorder.texts[0].rfind(platform::cp1252::Ansi("Es ist ein Fehler aufgetreten."), 0),
              0u);
    EXPECT_FALSE(recorder.windowVisible[0]);
    EXPECT_EQ(h.form->SequenceNumber(), 1);
}

TEST(Shutdown, BeendenSavesAnEmptyShortCodeAndEndsWithZero) {
    FormHarness h;
    h.WriteIni({.shortCode = "xy"});
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(h.Find<QLineEdit>("txtShort")->text(), "xy");
    h.Find<QLineEdit>("txtShort")->clear();
    h.Find<QLineEdit>("txtMod")->setText("MR"); // not kept
    h.form->findChild<QAction*>("mnuClose")->trigger();
    EXPECT_EQ(h.ends, std::vector<int>{0});
    EXPECT_FALSE(h.form->isVisible());
    const std::string ini = Slurp(h.iniPath());
    EXPECT_NE(ini.find("[K\xFCrzel]\r\nK\xFCrzel=\r\n"), std::string::npos);
    EXPECT_NE(ini.find("Modality=CR\r\n"), std::string::npos);
}

TEST(Shutdown, CloseBoxSavesTheShortCodeAndCreatesTheFile) {
    FormHarness h;
    ASSERT_TRUE(h.Start());
    h.Find<QLineEdit>("txtShort")->setText(QString::fromUtf8("Jü"));
    h.form->close();
    EXPECT_EQ(h.ends, std::vector<int>{0});
    EXPECT_EQ(Slurp(h.iniPath()), "[K\xFCrzel]\r\nK\xFCrzel=J\xFC\r\n");
}

// A Settings.ini nobody may write: the short code typed is lost, and the
// unload says so once, naming the file; the program still ends normally.
TEST(Shutdown, ReadOnlySettingsSayOnceThatTheShortCodeIsNotKept) {
    FormHarness h;
    h.WriteIni({.shortCode = "xy"});
    std::filesystem::permissions(h.iniPath(), std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::group_read |
                                                  std::filesystem::perms::others_read);
    const std::string before = Slurp(h.iniPath());
    ASSERT_TRUE(h.Start());
    h.Find<QLineEdit>("txtShort")->setText("AB");
    h.form->close();
    EXPECT_EQ(h.ends, std::vector<int>{0});
    ASSERT_EQ(h.messages.texts.size(), 1u);
    EXPECT_EQ(h.messages.texts[0].rfind(
                  "Das K\xFCrzel konnte nicht gespeichert werden:\r\n" + h.iniPath(), 0),
              0u);
    EXPECT_EQ(Slurp(h.iniPath()), before);
}

TEST(OkRule, EmptyStoredModalityStillStartsWithOkDisabled) {
    FormHarness h;
    h.WriteIni({.modality = ""});
    ASSERT_TRUE(h.Start());
    auto* ok = h.Find<QPushButton>("cmdOK");
    auto* mod = h.Find<QLineEdit>("txtMod");
    auto* bpart = h.Find<QLineEdit>("txtBpart");
    EXPECT_FALSE(ok->isEnabled());
    QTest::mousePress(h.Find("cmdQB(6)"), Qt::LeftButton);
    EXPECT_FALSE(ok->isEnabled()); // no modality yet
    QTest::keyClicks(mod, " ");
    EXPECT_TRUE(ok->isEnabled()); // blanks count as text
    bpart->clear();
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_EQ(h.form->SelectionCode(), "BW2E"); // clearing the text keeps the code
    QTest::keyClicks(bpart, "frei");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(h.form->SelectionCode(), "BW2E");
    mod->clear();
    EXPECT_FALSE(ok->isEnabled());
}

TEST(OkRule, StoredModalityAndAPressEnableOk) {
    FormHarness h;
    h.WriteIni({.modality = "CR"});
    ASSERT_TRUE(h.Start());
    EXPECT_FALSE(h.Find("cmdOK")->isEnabled());
    QTest::mousePress(h.Find("cmdQB(54)"), Qt::LeftButton);
    EXPECT_TRUE(h.Find("cmdOK")->isEnabled());
}

} // namespace
} // namespace tessaro
