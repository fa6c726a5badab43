// The main window as created and started: sizes from the twips tables, fonts,
// the manual grid, the status bar, the menu, the frame and the tab order.
#include "app/frm_main_harness.h"
#include "ui/caption_fit.h"
#include "ui/examination_button.h"
#include "ui/fixed_window.h"
#include "ui/fonts.h"
#include "ui/main_window_widgets.h"
#include "ui/screen_fit.h"
#include "ui/settings_window_layout.h"
#include "ui/text.h"
#include "ui/text_box.h"
#include "ui/twips.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace tessaro {
namespace {

using test::FormHarness;

class MainWindowLayout : public ::testing::Test {
protected:
    void SetUp() override {
        built = ui::BuildMainWindow(window);
        if (ui::LogicalDpi(&window) != 96.0)
            GTEST_SKIP() << "pixel expectations assume 96 dpi";
    }
    QWidget* Find(const char* name) { return window.findChild<QWidget*>(QLatin1String(name)); }
    QMainWindow window;
    ui::MainWindowWidgets built;
};

TEST_F(MainWindowLayout, PlacesTheControlsOfTheTables) {
    EXPECT_EQ(window.objectName(), "frmMain");
    EXPECT_EQ(built.client->size(), QSize(821, 812));
    EXPECT_EQ(Find("txtBpart")->geometry(), QRect(288, 36, 400, 31));
    EXPECT_EQ(Find("cmdOK")->geometry(), QRect(9, 723, 805, 61));
    EXPECT_EQ(Find("StateBar")->geometry(), QRect(0, 790, 821, 22));
    EXPECT_EQ(Find("picNoManual")->geometry(), QRect(9, 72, 811, 535));
    EXPECT_EQ(Find("picManual")->geometry(), QRect(9, 72, 808, 646));
    // Group 4's button panel sits inside its frame, Schädel a.p. in its second pair.
    EXPECT_EQ(Find("fraGroup(3)")->geometry(), QRect(282, 273, 520, 253));
    EXPECT_EQ(Find("Picture1(1)")->parentWidget(), Find("fraGroup(3)"));
    EXPECT_EQ(Find("cmdQB(57)")->parentWidget(), Find("Picture1(1)"));
    EXPECT_EQ(Find("cmdQB(57)")->geometry(), QRect(267, 6, 109, 28));
    EXPECT_EQ(Find("Line1(0)")->parentWidget(), Find("Picture2(0)"));
    EXPECT_EQ(Find("Line1(0)")->geometry(), QRect(252, 12, 1, 219));
    EXPECT_EQ(qobject_cast<QGroupBox*>(Find("fraGroup(1)"))->title(), "Gruppe 2");
    EXPECT_EQ(qobject_cast<QLabel*>(Find("Label1(2)"))->text(), QString::fromUtf8("Modalität:"));
}

TEST_F(MainWindowLayout, ManualGridRunsRightToLeftInItsLastTwoRows) {
    EXPECT_EQ(Find("cmdManual(0)")->geometry(), QRect(0, 6, 118, 40));
    EXPECT_EQ(Find("cmdManual(7)")->pos(), QPoint(138, 66));
    EXPECT_EQ(Find("cmdManual(53)")->pos(), QPoint(684, 486));
    EXPECT_EQ(Find("cmdManual(54)")->pos(), QPoint(684, 543));
    EXPECT_EQ(Find("cmdManual(59)")->pos(), QPoint(0, 543));
    EXPECT_EQ(Find("cmdManual(60)")->pos(), QPoint(684, 600));
    EXPECT_EQ(Find("cmdManual(65)")->pos(), QPoint(0, 600));
    for (QPushButton* b : built.cmdManual) {
        EXPECT_TRUE(b->isHidden());
        EXPECT_TRUE(b->text().isEmpty());
    }
}

TEST_F(MainWindowLayout, FontsFollowTheTables) {
    EXPECT_TRUE(Find("cmdQB(3)")->font().bold());  // has a code
    EXPECT_FALSE(Find("cmdQB(0)")->font().bold()); // none
    EXPECT_DOUBLE_EQ(Find("cmdQB(0)")->font().pointSizeF(), 8.25);
    EXPECT_DOUBLE_EQ(Find("cmdOK")->font().pointSizeF(), 26.25);
    EXPECT_DOUBLE_EQ(Find("txtMod")->font().pointSizeF(), 14.25);
    EXPECT_FALSE(Find("txtMod")->font().bold());
    EXPECT_TRUE(Find("Label1(0)")->font().bold());
    EXPECT_TRUE(Find("cmdManual(9)")->font().bold());
    EXPECT_DOUBLE_EQ(Find("cmdManual(9)")->font().pointSizeF(), 9.75);
    EXPECT_TRUE(Find("StateBar.Panel(2)")->font().bold());
}

TEST_F(MainWindowLayout, StatusBarHasThreePlainPanels) {
    int left = 0;
    for (int n = 1; n <= 3; ++n) {
        auto* panel = qobject_cast<QLabel*>(Find(ui::StatusPanelName(n)));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->textFormat(), Qt::PlainText);
        EXPECT_EQ(panel->width(), 272);
        EXPECT_EQ(panel->minimumWidth(), 96);
        EXPECT_EQ(panel->x(), left);
        left += 272;
    }
    EXPECT_EQ(qobject_cast<QLabel*>(Find("StateBar.Panel(1)"))->text(), "ID:");
}

TEST_F(MainWindowLayout, MenuAndFrame) {
    EXPECT_EQ(built.mnuDatei->title(), "Datei");
    const QList<QAction*> items = built.mnuDatei->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->objectName(), "mnuClose");
    EXPECT_EQ(items[0]->text(), "Beenden");
    EXPECT_EQ(items[1]->objectName(), "mnuSettings");
    EXPECT_EQ(items[1]->text(), "Einstellungen");
    for (QAction* a : items)
        EXPECT_TRUE(a->shortcut().isEmpty());
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(built.client->geometry().top(), window.menuBar()->geometry().bottom() + 1);
    EXPECT_EQ(window.windowIcon().availableSizes().value(0), QSize(32, 32));
}

TEST_F(MainWindowLayout, TextBoxesHaveNoLengthLimit) {
    // Qt's line edit cuts at 32767 characters unless told otherwise.
    const QString longText(40000, QLatin1Char('x'));
    for (ui::TextBox* box : {built.txtMod, built.txtBpart, built.txtShort}) {
        box->setText(longText);
        EXPECT_EQ(box->text().size(), longText.size()) << box->objectName().toStdString();
    }
}

TEST_F(MainWindowLayout, OkIsNeverTheDefaultButton) {
    EXPECT_FALSE(built.cmdOK->isDefault());
    EXPECT_FALSE(built.cmdOK->autoDefault());
}

// Every caption readable at every scale the screens of a practice give: at
// each fit factor, the catalogue's captions and long user-defined ones (up to
// four lines) keep all their lines inside their buttons, and every label and
// check box of both windows holds its caption on one line, fonts stepped
// down where needed but never below the floor.
TEST(CaptionsAtEveryScale, EveryCaptionsLinesFitItsControl) {
    const char* manual[] = {"Becken-Übersicht im Stehen mit Hüftgelenken beidseits",
                            "Lendenwirbelsäule in zwei Ebenen mit Funktionsaufnahmen "
                            "in Inklination und Reklination",
                            "Knie & Unterschenkel beidseits", "Thorax"};
    int menuHeight = 0;
    QMargins frame;
    {
        QMainWindow probe;
        ui::BuildMainWindow(probe, QRect(0, 0, 4000, 4000));
        menuHeight = probe.menuBar()->sizeHint().height();
        frame = ui::ExpectedFrame(probe);
    }
    for (const double target : {1.0, 0.926, 0.895, 0.839}) {
        SCOPED_TRACE(target);
        int height = 4000;
        while (height > 0 && ui::FitFactor(QRect(0, 0, 4000, height), frame, menuHeight,
                                           QSize(12315, 12180), 96) > target)
            --height;
        QMainWindow window;
        const ui::MainWindowWidgets w = ui::BuildMainWindow(window, QRect(0, 0, 4000, height));
        if (ui::LogicalDpi(&window) != 96.0)
            GTEST_SKIP() << "work areas are computed for 96 dpi";
        ASSERT_NEAR(ui::LayoutScale::Of(&window).factor(), target, 0.003);
        for (std::size_t i = 0; i < std::size(manual); ++i)
            w.cmdManual[i]->setText(ui::LiteralCaption(QString::fromUtf8(manual[i])));
        std::vector<ui::ExaminationButton*> buttons(w.cmdManual.begin(),
                                                    w.cmdManual.begin() + std::size(manual));
        for (ui::ExaminationButton* b : w.cmdQB)
            if (b != nullptr)
                buttons.push_back(b);
        for (const ui::ExaminationButton* b : buttons) {
            const QFontMetrics metrics(b->CaptionFont());
            const QStringList lines = b->CaptionLines();
            const std::string what =
                b->objectName().toStdString() + " " + lines.join(QLatin1Char('|')).toStdString();
            EXPECT_LE(metrics.height() * lines.size(), b->CaptionRect().height()) << what;
            for (const QString& line : lines)
                EXPECT_LE(metrics.horizontalAdvance(line), b->CaptionRect().width()) << what;
            EXPECT_GE(b->CaptionFont().pointSizeF(), ui::kCaptionFloorPoints) << what;
        }
        QDialog settings(&window);
        ui::BuildSettingsLayout(&settings);
        std::vector<QWidget*> captioned;
        for (QWidget* c : window.findChildren<QLabel*>(QRegularExpression("^Label1")))
            captioned.push_back(c);
        for (QWidget* c : settings.findChildren<QLabel*>())
            captioned.push_back(c);
        for (QWidget* c : settings.findChildren<QCheckBox*>())
            captioned.push_back(c);
        for (QWidget* c : captioned)
            EXPECT_LE(c->sizeHint().width(), c->width()) << c->objectName().toStdString();
    }
    // Below the floor a caption is cut; its whole text is then the tooltip, and
    // always the accessible name.
    QLabel cut(QStringLiteral("Lendenwirbelsäule in zwei Ebenen mit Funktionsaufnahmen"));
    cut.setFont(ui::Tahoma(8.25));
    cut.setGeometry(0, 0, 40, 16);
    ui::FitCaption(cut);
    EXPECT_EQ(cut.font().pointSizeF(), ui::kCaptionFloorPoints);
    EXPECT_EQ(cut.toolTip(), cut.text());
    EXPECT_EQ(cut.accessibleName(), cut.text());
}

TEST(MainWindowFocus, StartsInTheSelectionAndTabsInTheGivenOrder) {
    FormHarness h;
    h.WriteIni({.shortCode = "ab"});
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(QTest::qWaitForWindowActive(h.form.get()));
    EXPECT_EQ(QApplication::focusWidget(), h.Find("txtBpart"));
    // OK is disabled (no selection yet), so the chain passes over it; then the
    // quick buttons from group 4 back, highest index first, skipping disabled ones.
    const char* expected[] = {"txtShort",  "txtMod",    "cmdQB(57)", "cmdQB(54)", "cmdQB(46)",
                              "cmdQB(45)", "cmdQB(28)", "cmdQB(27)", "cmdQB(34)"};
    for (const char* name : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
    }
}

} // namespace
} // namespace tessaro
