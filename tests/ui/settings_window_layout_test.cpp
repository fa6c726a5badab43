// The settings window's arrangement: every control of the table with its name,
// kind, place, font and caption; the fixed frame; focus and tab order.
#include "ui/fonts.h"
#include "ui/magnifier.h"
#include "ui/settings_window_layout.h"

#include <QCheckBox>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <utility>

namespace tessaro::ui {
namespace {

QString TextOf(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    return qobject_cast<QLineEdit*>(w)->text();
}

TEST(SettingsWindowLayout, EveryControlStandsWhereTheTableSays) {
    QDialog form;
    BuildSettingsLayout(&form);
    const double dpi = LogicalDpi(&form);

    EXPECT_EQ(form.objectName(), "frmSettings");
    EXPECT_EQ(form.windowTitle(), "Einstellungen");
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.size(), QSize(TwipsToPixels(5640, dpi), TwipsToPixels(3690, dpi)));
    EXPECT_FALSE(form.windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(form.windowIcon().isNull());

    const auto table = SettingsControlTable();
    EXPECT_EQ(table.size(), 17u);
    for (const SettingsControlSpec& item : table) {
        SCOPED_TRACE(item.name);
        auto* w = form.findChild<QWidget*>(QString::fromLatin1(item.name));
        ASSERT_NE(w, nullptr);
        const QRect expected = ToPixels(item.rect, dpi);
        if (item.kind == SettingsControlKind::Label) { // may grow to show its whole text
            EXPECT_EQ(w->pos(), expected.topLeft());
            EXPECT_EQ(w->height(), expected.height());
            EXPECT_GE(w->width(), expected.width());
            EXPECT_GE(w->width(), w->sizeHint().width());
        } else {
            EXPECT_EQ(w->geometry(), expected);
        }
        EXPECT_EQ(TextOf(w), QString::fromUtf8(item.caption));
        if (item.fontPoints > 0) {
            EXPECT_EQ(w->font().family(), TahomaFamily());
            EXPECT_DOUBLE_EQ(w->font().pointSizeF(), item.fontPoints);
            EXPECT_EQ(w->font().bold(), item.bold);
        }
        switch (item.kind) {
        case SettingsControlKind::Label:
            EXPECT_EQ(qobject_cast<QLabel*>(w)->textFormat(), Qt::PlainText);
            break;
        case SettingsControlKind::TextBox:
            EXPECT_NE(qobject_cast<QLineEdit*>(w), nullptr);
            break;
        case SettingsControlKind::CheckBox:
            EXPECT_FALSE(qobject_cast<QCheckBox*>(w)->isChecked());
            break;
        case SettingsControlKind::PictureButton:
            EXPECT_FALSE(qobject_cast<QPushButton*>(w)->icon().isNull());
            EXPECT_EQ(qobject_cast<QPushButton*>(w)->iconSize(), QSize(16, 16));
            [[fallthrough]];
        case SettingsControlKind::PushButton:
            EXPECT_FALSE(qobject_cast<QPushButton*>(w)->autoDefault());
            EXPECT_FALSE(qobject_cast<QPushButton*>(w)->isDefault());
            break;
        }
    }
    // The captions the operator reads, exactly.
    EXPECT_EQ(form.findChild<QLabel*>("Label1(9)")->text(), "Lumeo - ID:");
    EXPECT_EQ(form.findChild<QLabel*>("Label1(6)")->text(), "GDT - Quellpfad:");
    EXPECT_EQ(form.findChild<QLabel*>("Label1(8)")->text(), "GDT - Zielverzeichnis:");
    EXPECT_EQ(form.findChild<QPushButton*>("cmdApply")->text(), QString::fromUtf8("Übernehmen"));
    EXPECT_FALSE(form.findChild<QPushButton*>("cmdApply")->isEnabled());

    // A few rectangles worked out by hand from the window's twips at 96 dpi
    // (15 twips to the pixel), so that a wrong number in the table shows.
    if (dpi != 96.0)
        GTEST_SKIP() << "the hand-worked pixel figures assume 96 dpi, the screen has " << dpi;
    EXPECT_EQ(form.size(), QSize(376, 246));
    const std::pair<const char*, QRect> kByHand[] = {
        {"txtModality", {9, 33, 196, 22}},    {"txtLumeoID", {261, 33, 109, 22}},
        {"txtGDTpathS", {9, 84, 331, 25}},    {"cmdSrcSource", {345, 84, 25, 25}},
        {"cmdSRCDest", {345, 138, 25, 25}},   {"chkStudyDesc", {237, 177, 148, 19}},
        {"cmdSpeichern", {60, 207, 100, 31}}, {"cmdApply", {270, 207, 100, 31}},
    };
    for (const auto& [name, rect] : kByHand)
        EXPECT_EQ(form.findChild<QWidget*>(QLatin1String(name))->geometry(), rect) << name;
    EXPECT_EQ(form.findChild<QWidget*>("Label1(9)")->pos(), QPoint(261, 12));
}

TEST(SettingsWindowLayout, FocusStartsOnOkAndTabSkipsTheDisabledApply) {
    QDialog form;
    BuildSettingsLayout(&form);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(form.focusWidget()->objectName(), "cmdSpeichern");

    const QStringList expected{"cmdCancel",   "txtGDTpathS",  "cmdSrcSource", "txtModality",
                               "txtGDTpathD", "cmdSRCDest",   "txtLumeoID",   "txtSuffix",
                               "chkManual",   "chkStudyDesc", "cmdSpeichern"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(form.focusWidget(), Qt::Key_Tab);
        visited << form.focusWidget()->objectName();
    }
    EXPECT_EQ(visited, expected);

    form.findChild<QPushButton*>("cmdApply")->setEnabled(true);
    QTest::keyClick(form.focusWidget(), Qt::Key_Tab);
    QTest::keyClick(form.focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(form.focusWidget()->objectName(), "cmdApply");
}

TEST(SettingsWindowLayout, MagnifyingGlassIsASixteenPixelPicture) {
    const QImage image = MagnifyingGlass().toImage();
    EXPECT_EQ(image.size(), QSize(16, 16));
    int opaque = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            opaque += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    EXPECT_GT(opaque, 40);
    EXPECT_LT(opaque, 256); // a glass on a transparent ground, not a filled square
}

} // namespace
} // namespace tessaro::ui
