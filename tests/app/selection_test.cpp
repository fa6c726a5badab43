// Presses on examination buttons as the operator makes them: which mouse button
// and which modifier keys, the highlights, the side markers, the keyboard.
#include "app/frm_main_harness.h"
#include "ui/examination_button.h"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace tessaro {
namespace {

using test::FormHarness;

const QColor kLightGreen(192, 255, 192);

class Selection : public ::testing::Test {
protected:
    void Start(const std::string& bodypart = "") {
        h.WriteIni({.manual = bodypart.empty() ? "0" : "1"});
        if (!bodypart.empty())
            h.WriteManualButtons(bodypart);
        ASSERT_TRUE(h.Start());
    }
    QWidget* Manual(int i) {
        return h.Find(QStringLiteral("cmdManual(%1)").arg(i).toLatin1().constData());
    }
    QWidget* Quick(int i) {
        return h.Find(QStringLiteral("cmdQB(%1)").arg(i).toLatin1().constData());
    }
    QColor Colour(int i) { return static_cast<ui::ExaminationButton*>(Manual(i))->backColor(); }
    bool Highlighted(int i) { return Colour(i) == kLightGreen; }
    QString Text() { return h.Find<QLineEdit>("txtBpart")->text(); }
    std::string Code() { return h.form->SelectionCode(); }

    FormHarness h;
};

TEST_F(Selection, WorkedExample) {
    Start("0|Hand|HA*\r\n1|Thorax|TH");
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(Colour(0), face);

    QTest::mousePress(Manual(0), Qt::RightButton);
    EXPECT_EQ(Text(), "Hand re.");
    EXPECT_EQ(Code(), "HA re.");
    EXPECT_TRUE(Highlighted(0));
    EXPECT_FALSE(Highlighted(1));

    QTest::mousePress(Manual(1), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Text(), "Hand re. + Thorax");
    EXPECT_EQ(Code(), "HA re. + TH");
    EXPECT_TRUE(Highlighted(0));
    EXPECT_TRUE(Highlighted(1));
    EXPECT_EQ(h.Find<QLineEdit>("txtBpart")->cursorPosition(), Text().size());

    QTest::mousePress(Manual(1), Qt::LeftButton);
    EXPECT_EQ(Text(), "Thorax");
    EXPECT_EQ(Code(), "TH");
    EXPECT_FALSE(Highlighted(0));
    EXPECT_TRUE(Highlighted(1));
    EXPECT_EQ(Colour(0), face);
}

TEST_F(Selection, CataloguePressOnlyWithTheLeftButtonAndModifiersMakeNoDifference) {
    Start();
    QTest::mousePress(Quick(3), Qt::LeftButton);
    EXPECT_EQ(Text(), "LWS in 2 Eb.");
    EXPECT_EQ(Code(), "LW2E ");
    QTest::mousePress(Quick(6), Qt::RightButton);
    QTest::mousePress(Quick(6), Qt::MiddleButton);
    EXPECT_EQ(Code(), "LW2E ");
    QTest::mousePress(Quick(57), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(Text(), QString::fromUtf8("Schädel a.p."));
    EXPECT_EQ(Code(), "SCHAP");
    QTest::mousePress(Quick(0), Qt::LeftButton); // disabled: no press arrives
    EXPECT_EQ(Code(), "SCHAP");
}

TEST_F(Selection, ModifiedPressOnAnEmptySelectionHasNoLeadingJoinAndKeepsHighlights) {
    Start("0|Hand|HA\r\n1|Thorax|TH");
    QTest::mousePress(Manual(0), Qt::LeftButton);
    h.Find<QLineEdit>("txtBpart")->clear();
    QTest::mousePress(Manual(1), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(Text(), "Thorax");
    EXPECT_EQ(Code(), "HA + TH"); // the code was not cleared with the text
    EXPECT_TRUE(Highlighted(0));
    EXPECT_TRUE(Highlighted(1));

    FormHarness fresh;
    fresh.WriteIni({.manual = "1"});
    fresh.WriteManualButtons("2|Knie|KN");
    ASSERT_TRUE(fresh.Start());
    QTest::mousePress(fresh.Find("cmdManual(2)"), Qt::LeftButton, Qt::AltModifier);
    QTest::mousePress(fresh.Find("cmdManual(2)"), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(fresh.Find<QLineEdit>("txtBpart")->text(), "Knie + Knie");
    EXPECT_EQ(fresh.form->SelectionCode(), "KN + KN");
}

TEST_F(Selection, LaterSidedPressReplacesEveryOpenAndEarlierMarker) {
    Start("0|Hand|HA*\r\n1|Fu\xDF|FU*\r\n2|Mitte|M*X");
    QTest::mousePress(Manual(0), Qt::MiddleButton);
    EXPECT_EQ(Text(), "Hand");
    EXPECT_EQ(Code(), "HA*");
    EXPECT_TRUE(Highlighted(0));
    QTest::mousePress(Manual(1), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Text(), QString::fromUtf8("Hand + Fuß li."));
    EXPECT_EQ(Code(), "HA li. + FU li.");
    QTest::mousePress(Manual(2), Qt::RightButton);
    EXPECT_EQ(Code(), "M*X"); // "*" not at the end: no side
    EXPECT_EQ(Text(), "Mitte");
}

TEST_F(Selection, KeyboardActivationSelectsNothing) {
    Start("0|Hand|HA");
    QWidget* quick = Quick(3);
    quick->setFocus();
    QTest::keyClick(quick, Qt::Key_Space);
    QTest::keyClick(quick, Qt::Key_Return);
    Manual(0)->setFocus();
    QTest::keyClick(Manual(0), Qt::Key_Space);
    EXPECT_TRUE(Text().isEmpty());
    EXPECT_TRUE(Code().empty());
    EXPECT_FALSE(Highlighted(0));
}

TEST_F(Selection, TypingChangesOnlyTheTextAndFocusPutsTheCaretAtTheEnd) {
    Start();
    auto* bpart = h.Find<QLineEdit>("txtBpart");
    QTest::mousePress(Quick(54), Qt::LeftButton);
    bpart->setCursorPosition(0);
    h.Find("txtMod")->setFocus();
    bpart->setFocus(Qt::TabFocusReason); // a tab into the box would select all
    EXPECT_FALSE(bpart->hasSelectedText());
    EXPECT_EQ(bpart->cursorPosition(), bpart->text().size());
    QTest::keyClicks(bpart, " pa");
    EXPECT_EQ(Text(), "Thorax in 2 Eb. pa");
    EXPECT_EQ(Code(), "TH2E");
}

TEST_F(Selection, EnterInATextBoxDoesNotCommit) {
    h.WriteRequest(test::Request("1", "A", "B"));
    Start();
    QTest::mousePress(Quick(6), Qt::LeftButton);
    ASSERT_TRUE(h.Find("cmdOK")->isEnabled());
    for (const char* box : {"txtBpart", "txtMod", "txtShort"}) {
        QTest::keyClick(h.Find(box), Qt::Key_Return);
        QTest::keyClick(h.Find(box), Qt::Key_Enter);
    }
    EXPECT_TRUE(h.ends.empty());
    EXPECT_TRUE(test::Slurp(h.dir.File("outbox/001.1.gdt")).empty());
    EXPECT_FALSE(test::Slurp(h.requestPath()).empty());
}

} // namespace
} // namespace tessaro
