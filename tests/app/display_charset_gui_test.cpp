// The main window shows a request's names in the charset the request declares:
// status bar and caption, while the imported bytes stay as they were.
#include "app/frm_main_harness.h"
#include "ui/main_window_widgets.h"

#include <QLabel>
#include <QString>
#include <gtest/gtest.h>

namespace tessaro::test {
namespace {

struct Case {
    const char* what;
    std::string charsetLine; // "" for none
    std::string lastName;    // bytes as the practice system wrote them
};

TEST(DisplayCharsetWindow, DeclaredCharsetNamesShowInStatusBarAndCaption) {
    const Case cases[] = {
        {"IBM437", GdtLine("9206", "2"), "M\x81ller"},
        {"DIN 66003", GdtLine("9206", "1"), "M}ller"},
        {"Windows-1252 undeclared", "", "M\xFCller"},
        {"UTF-8 declared 3", GdtLine("9206", "3"), "M\xC3\xBCller"},
        {"IBM437 undeclared, told by its bytes", "", "M\x81ller"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FormHarness h;
        h.WriteIni({});
        const std::string request =
            GdtLine("8000", "6302") + c.charsetLine + Request("4711", "Hans", c.lastName);
        h.WriteRequest(request);
        ASSERT_TRUE(h.Start());

        auto* panel = h.Find<QLabel>(ui::StatusPanelName(3));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->text(), QString::fromUtf8("NN: Müller"));
        EXPECT_TRUE(h.form->windowTitle().endsWith(QString::fromUtf8(" MÜLLER]")))
            << h.form->windowTitle().toStdString();
        EXPECT_EQ(h.form->RequestText(), request);
        EXPECT_TRUE(h.messages.texts.empty());
    }
}

TEST(DisplayCharsetWindow, Cp437RequestShowsItsUmlautsAndKeepsItsBytes) {
    FormHarness h;
    h.WriteIni({});
    const std::string request = GdtLine("9206", "2") + Request("4711", "J\x81rgen", "M\x81ller");
    h.WriteRequest(request);
    ASSERT_TRUE(h.Start());

    EXPECT_EQ(h.Find<QLabel>(ui::StatusPanelName(1))->text(), QString::fromUtf8("ID: 4711"));
    EXPECT_EQ(h.Find<QLabel>(ui::StatusPanelName(2))->text(), QString::fromUtf8("VN: Jürgen"));
    EXPECT_EQ(h.Find<QLabel>(ui::StatusPanelName(3))->text(), QString::fromUtf8("NN: Müller"));
    EXPECT_EQ(h.form->windowTitle(), QString::fromUtf8("Velt - Tessaro [JÜRGEN MÜLLER]"));
    EXPECT_EQ(h.form->RequestText(), request);
}

} // namespace
} // namespace tessaro::test
