// The buttons behave as Windows command buttons: Enter presses a focused OK (the
// examination buttons stay deaf to the keyboard), and a caption too long for its
// button wraps onto further lines, shown literally.
#include "ui/examination_button.h"
#include "ui/fonts.h"
#include "ui/main_window_widgets.h"
#include "ui/text.h"
#include "ui/twips.h"

#include <QImage>
#include <QMainWindow>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace tessaro::ui {
namespace {

TEST(CommandButtons, EnterPressesOnlyAFocusedOk) {
    struct KeyCase {
        const char* what;
        const char* focus;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool okEnabled;
        int clicks;
    };
    const KeyCase cases[] = {
        {"Return on OK", "cmdOK", Qt::Key_Return, Qt::NoModifier, true, 1},
        {"Enter of the keypad on OK", "cmdOK", Qt::Key_Enter, Qt::KeypadModifier, true, 1},
        {"Space on OK, as before", "cmdOK", Qt::Key_Space, Qt::NoModifier, true, 1},
        {"Return on a disabled OK", "cmdOK", Qt::Key_Return, Qt::NoModifier, false, 0},
        {"Return in the selection box", "txtBpart", Qt::Key_Return, Qt::NoModifier, true, 0},
        {"Return on a quick button", "cmdQB(3)", Qt::Key_Return, Qt::NoModifier, true, 0},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        QMainWindow window;
        const MainWindowWidgets w = BuildMainWindow(window, QRect(0, 0, 1920, 1160));
        int clicks = 0, presses = 0;
        QObject::connect(w.cmdOK, &QPushButton::clicked, [&] { ++clicks; });
        for (ExaminationButton* b : w.cmdQB)
            if (b != nullptr)
                QObject::connect(b, &ExaminationButton::MouseDown, [&] { ++presses; });
        w.cmdOK->setEnabled(c.okEnabled);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        auto* target = window.findChild<QWidget*>(QLatin1String(c.focus));
        target->setFocus();
        QTest::keyClick(target, c.key, c.modifiers);
        EXPECT_EQ(clicks, c.clicks);
        EXPECT_EQ(presses, 0);
    }
}

// Text pixels both above and below where a single centred line would reach.
bool InkAboveAndBelowTheMiddle(QWidget& button) {
    QImage image(button.size(), QImage::Format_RGB32);
    button.render(&image);
    const int middle = image.height() / 2;
    int above = 0, below = 0;
    for (int y = 4; y < image.height() - 4; ++y)
        for (int x = 4; x < image.width() - 4; ++x)
            if (qGray(image.pixel(x, y)) < 100) {
                above += y < middle - 6;
                below += y > middle + 6;
            }
    return above > 0 && below > 0;
}

TEST(CommandButtons, ALongCaptionWrapsOntoFurtherLines) {
    struct WrapCase {
        const char* what;
        const char* caption; // UTF-8, as the operator gave it
        int widthTwips;
        bool wraps;
    };
    const WrapCase cases[] = {
        {"a short caption stays one line", "Thorax", 1770, false},
        {"broken at the blank and after the hyphen", "Becken-Übersicht beidseits", 1770, true},
        {"an ampersand shown as it is", "Knie & Unterschenkel beidseits", 1770, true},
        {"a word wider than the button is broken inside", "Oberschenkelhalsaufnahme", 1000, true},
    };
    QWidget panel;
    panel.resize(400, 200);
    panel.show();
    for (const WrapCase& c : cases) {
        SCOPED_TRACE(c.what);
        ExaminationButton button(0, &panel);
        button.setFont(Tahoma(9.75, true));
        button.setGeometry(ToPixels({0, 0, c.widthTwips, 600}, 96));
        button.SetBackColor(QColor(0xc0, 0xff, 0xc0));
        const QString caption = QString::fromUtf8(c.caption);
        button.setText(LiteralCaption(caption));
        button.show();

        const QStringList lines = button.CaptionLines();
        EXPECT_EQ(lines.size() > 1, c.wraps) << lines.join(QLatin1Char('|')).toStdString();
        QString joined = lines.join(QString());
        QString expected = caption;
        EXPECT_EQ(joined.remove(QLatin1Char(' ')), expected.remove(QLatin1Char(' ')));
        for (const QString& line : lines)
            EXPECT_LE(QFontMetrics(button.CaptionFont()).horizontalAdvance(line), button.width());
        EXPECT_EQ(InkAboveAndBelowTheMiddle(button), c.wraps) << "one line below the other";
    }
}

} // namespace
} // namespace tessaro::ui
