// The settings window opened from the main window's menu: an applied modality
// reaches txtMod and the OK rule at once, and a PathS changed after the import
// does not change which request the commit deletes.
#include "app/frm_main_harness.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace tessaro {
namespace {

using test::FormHarness;
using test::Slurp;
using test::Spit;

TEST(SettingsFromMain, AppliedValuesTakeEffectButTheImportedRequestIsTheOneDeleted) {
    FormHarness h;
    h.WriteIni({.modality = ""});
    const std::string request = test::Request("1", "Anna", "Berg");
    h.WriteRequest(request);
    const std::string other = h.dir.File("inbox/andere.gdt");
    Spit(other, test::Request("2", "Carl", "Dorn"));
    ASSERT_TRUE(h.Start());
    QTest::mousePress(h.Find("cmdQB(54)"), Qt::LeftButton);
    ASSERT_FALSE(h.Find("cmdOK")->isEnabled());

    bool edited = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr)
            return;
        dialog->findChild<QLineEdit*>("txtModality")->setText("MR");
        dialog->findChild<QLineEdit*>("txtGDTpathS")->setText(QString::fromStdString(other));
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdSpeichern"), Qt::LeftButton);
        edited = true;
    });
    h.form->findChild<QAction*>("mnuSettings")->trigger();
    ASSERT_TRUE(edited);
    EXPECT_EQ(h.Find<QLineEdit>("txtMod")->text(), "MR");
    EXPECT_EQ(h.form->Settings().PathS, other);
    ASSERT_TRUE(h.Find("cmdOK")->isEnabled());

    QTest::mouseClick(h.Find("cmdOK"), Qt::LeftButton);
    EXPECT_EQ(h.ends, std::vector<int>{0});
    EXPECT_FALSE(std::filesystem::exists(h.requestPath()));
    EXPECT_TRUE(std::filesystem::exists(other));
    EXPECT_EQ(Slurp(h.dir.File("outbox/001.1.gdt")), request + "0138411TH2E\r\n");
}

} // namespace
} // namespace tessaro
