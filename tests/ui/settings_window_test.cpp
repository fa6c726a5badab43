// The settings window driven as the operator would: filling, change tracking,
// apply, OK, Abbrechen, the keyboard and a Settings.ini that cannot be written.
#include "config/settings_store.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "support/temp_dir.h"
#include "ui/settings_window_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace tessaro {
namespace {

using test::FakeFolderChooser;
using test::RecordingMessageBox;
using test::Slurp;
using test::Spit;
using test::TempDir;

class SettingsWindow : public test::SettingsWindowFixture {
protected:
    SettingsWindow() {
        values.PathS = "/in/anfrage.gdt";
        values.PathD = "/out";
        values.LumeoID = "042";
        Spit(ini, "[Modality]\r\nModality=DX\r\n");
    }

    static void Type(QWidget* window, const char* name, const QString& text) {
        auto* box = Get<QLineEdit>(window, name);
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    static bool ApplyEnabled(QWidget* window) {
        return Get<QPushButton>(window, "cmdApply")->isEnabled();
    }

    std::string Stored(const std::string& section, const std::string& key) {
        return platform::ReadProfileString(section, key, "<missing>", 256, ini).text;
    }
};

TEST_F(SettingsWindow, OpensFilledWithHeldValuesAndStoredModalityWithoutAChange) {
    values.Suffix = "hl7"; // shown upper case whatever is held
    values.Manual = true;
    values.StudyDesc = true;
    mainModality.setText("CT"); // typed in the main window, not stored
    auto w = Open();

    EXPECT_EQ(Text(w.get(), "txtGDTpathS"), "/in/anfrage.gdt");
    EXPECT_EQ(Text(w.get(), "txtGDTpathD"), "/out");
    EXPECT_EQ(Text(w.get(), "txtModality"), "DX");
    EXPECT_EQ(Text(w.get(), "txtLumeoID"), "042");
    EXPECT_EQ(Text(w.get(), "txtSuffix"), "HL7");
    EXPECT_TRUE(Get<QCheckBox>(w.get(), "chkManual")->isChecked());
    EXPECT_TRUE(Get<QCheckBox>(w.get(), "chkStudyDesc")->isChecked());
    EXPECT_FALSE(ApplyEnabled(w.get()));
    EXPECT_EQ(w->focusWidget(), Get<QWidget>(w.get(), "cmdSpeichern"));
}

TEST_F(SettingsWindow, EveryTrackedEditEnablesApplyEvenWhenUndone) {
    for (const char* box :
         {"txtGDTpathS", "txtGDTpathD", "txtModality", "txtLumeoID", "txtSuffix"}) {
        auto w = Open();
        auto* edit = Get<QLineEdit>(w.get(), box);
        const QString before = edit->text();
        QTest::keyClick(edit, Qt::Key_X);
        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_EQ(edit->text(), before);
        EXPECT_TRUE(ApplyEnabled(w.get())) << box;
    }
    for (const char* box : {"chkManual", "chkStudyDesc"}) {
        auto w = Open();
        Click(w.get(), box);
        EXPECT_TRUE(ApplyEnabled(w.get())) << box;
    }
}

TEST_F(SettingsWindow, OkWithoutChangeWritesAllSevenValuesAndCloses) {
    Spit(ini, "");
    values.Manual = true;
    auto w = Open();
    mainModality.setText("CT");
    Click(w.get(), "cmdSpeichern");

    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Stored("GDT", "PathS"), "/in/anfrage.gdt");
    EXPECT_EQ(Stored("Modality", "Modality"), ""); // the file had none: written empty
    EXPECT_NE(Slurp(ini).find("Modality="), std::string::npos);
    EXPECT_EQ(Stored("GDT", "PathD"), "/out");
    EXPECT_EQ(Stored("GDT", "Suffix"), "GDT");
    EXPECT_EQ(Stored("GDT", "LumeoID"), "042");
    EXPECT_EQ(Stored("GDT", "StudyDesc"), "0");
    EXPECT_EQ(Stored("GDT", "Manual"), "1");
    EXPECT_EQ(mainModality.text(), "");
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(SettingsWindow, ApplyHoldsAndStoresEachValueAndOverwritesMainModality) {
    mainModality.setText("CT");
    std::string pathSWhenMainModalityChanged;
    QObject::connect(&mainModality, &QLineEdit::textChanged,
                     [&] { pathSWhenMainModalityChanged = Held().PathS; });
    auto w = Open();
    Type(w.get(), "txtGDTpathS", "/neu/req.gdt");
    Type(w.get(), "txtGDTpathD", "/ziel");
    Type(w.get(), "txtModality", "MR");
    Type(w.get(), "txtLumeoID", "7");
    Type(w.get(), "txtSuffix", "hl7");
    Click(w.get(), "chkStudyDesc");
    Click(w.get(), "cmdApply");

    EXPECT_EQ(mainModality.text(), "MR");
    // txtMod is set first, before any held value changes.
    EXPECT_EQ(pathSWhenMainModalityChanged, "/in/anfrage.gdt");
    EXPECT_EQ(Held().PathS, "/neu/req.gdt");
    EXPECT_EQ(Held().PathD, "/ziel");
    EXPECT_EQ(Held().LumeoID, "7");
    EXPECT_EQ(Held().Suffix, "HL7");           // held upper case ...
    EXPECT_EQ(Stored("GDT", "Suffix"), "hl7"); // ... stored as typed
    EXPECT_TRUE(Held().StudyDesc);
    EXPECT_FALSE(Held().Manual);
    EXPECT_EQ(Stored("GDT", "StudyDesc"), "1");
    EXPECT_EQ(Stored("GDT", "Manual"), "0");
    EXPECT_EQ(Stored("Modality", "Modality"), "MR");
    EXPECT_FALSE(ApplyEnabled(w.get()));
    EXPECT_TRUE(w->isVisible());
}

TEST_F(SettingsWindow, AppliedValuesSurviveAbbrechenButUnappliedTypingDoesNot) {
    auto w = Open();
    Type(w.get(), "txtLumeoID", "100");
    Click(w.get(), "cmdApply");
    Type(w.get(), "txtLumeoID", "200");
    Type(w.get(), "txtModality", "US");
    Click(w.get(), "cmdCancel");

    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Held().LumeoID, "100");
    EXPECT_EQ(Stored("GDT", "LumeoID"), "100");
    EXPECT_EQ(Stored("Modality", "Modality"), "DX");
    EXPECT_EQ(mainModality.text(), "DX");
}

TEST_F(SettingsWindow, TypingThenAbbrechenOrCloseBoxChangesNothing) {
    const std::string before = Slurp(ini);
    mainModality.setText("CT");
    for (bool closeBox : {false, true}) {
        auto w = Open();
        Type(w.get(), "txtGDTpathD", "/anders");
        Type(w.get(), "txtModality", "US");
        Click(w.get(), "chkManual");
        if (closeBox)
            w->close();
        else
            Click(w.get(), "cmdCancel");
        EXPECT_FALSE(w->isVisible());
    }
    EXPECT_EQ(Slurp(ini), before);
    EXPECT_EQ(Held().PathD, "/out");
    EXPECT_FALSE(Held().Manual);
    EXPECT_EQ(mainModality.text(), "CT");
}

TEST_F(SettingsWindow, ReopeningShowsTheModalityFromTheFile) {
    {
        auto w = Open();
        Type(w.get(), "txtModality", "CR");
        Click(w.get(), "cmdSpeichern");
    }
    mainModality.setText("typed");
    auto w = Open();
    EXPECT_EQ(Text(w.get(), "txtModality"), "CR");
    Spit(ini, "[Modality]\r\nModality=XA\r\n");
    auto again = Open();
    EXPECT_EQ(Text(again.get(), "txtModality"), "XA");
}

TEST_F(SettingsWindow, EnterPressesOnlyTheFocusedButtonAndEscapeNothing) {
    auto w = Open();
    auto* lumeo = Get<QLineEdit>(w.get(), "txtLumeoID");
    lumeo->setFocus();
    QTest::keyClicks(lumeo, "9");
    QTest::keyClick(lumeo, Qt::Key_Return);
    QTest::keyClick(lumeo, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(Held().LumeoID, "042");

    auto* manual = Get<QCheckBox>(w.get(), "chkManual");
    manual->setFocus();
    QTest::keyClick(manual, Qt::Key_Return);
    EXPECT_FALSE(manual->isChecked());
    EXPECT_TRUE(w->isVisible());

    QTest::keyClick(lumeo, Qt::Key_Escape);
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_TRUE(w->isVisible());

    auto* apply = Get<QPushButton>(w.get(), "cmdApply");
    apply->setFocus();
    QTest::keyClick(apply, Qt::Key_Return);
    EXPECT_EQ(Held().LumeoID, "0429");
    EXPECT_TRUE(w->isVisible());

    auto* cancel = Get<QPushButton>(w.get(), "cmdCancel");
    cancel->setFocus();
    QTest::keyClick(lumeo, Qt::Key_X);
    QTest::keyClick(cancel, Qt::Key_Return);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Held().LumeoID, "0429");
}

TEST_F(SettingsWindow, OpensModalCentredOverItsOwnerAndEnterThereAppliesAndCloses) {
    Spit(ini, "");
    QWidget owner;
    owner.setGeometry(100, 80, 800, 600);
    owner.show();
    bool sawWindow = false;
    QPoint centre;
    QTimer::singleShot(0, [&] {
        QWidget* window = QApplication::activeModalWidget();
        sawWindow = window && window->objectName() == "frmSettings";
        if (!window)
            return;
        centre = window->geometry().center();
        QTest::keyClick(window->focusWidget(), Qt::Key_Return);
    });
    // Should Enter not close the window, this does, so that the test fails instead of hanging.
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [] {
        if (QWidget* window = QApplication::activeModalWidget())
            window->close();
    });
    rescue.start(3000);
    ui::SettingsWindow window(&owner, Context());
    window.exec();
    EXPECT_TRUE(rescue.isActive());
    EXPECT_TRUE(sawWindow);
    EXPECT_LE((centre - owner.geometry().center()).manhattanLength(), 4);
    EXPECT_EQ(Stored("GDT", "LumeoID"), "042");
    EXPECT_EQ(Stored("GDT", "PathD"), "/out");
}

TEST_F(SettingsWindow, UnwritableSettingsFileIsReportedOnceWhileValuesStillChange) {
    const std::string before = Slurp(ini);
    std::filesystem::permissions(ini, std::filesystem::perms::owner_read |
                                          std::filesystem::perms::group_read |
                                          std::filesystem::perms::others_read);
    auto w = Open();
    Type(w.get(), "txtGDTpathD", "/ziel");
    Type(w.get(), "txtModality", "MR");
    Click(w.get(), "cmdApply");

    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_NE(messages.texts[0].find(ini), std::string::npos) << messages.texts[0];
    EXPECT_EQ(Slurp(ini), before);
    EXPECT_EQ(Held().PathD, "/ziel");
    EXPECT_EQ(mainModality.text(), "MR");
    EXPECT_FALSE(ApplyEnabled(w.get()));

    Click(w.get(), "cmdSpeichern");
    EXPECT_EQ(messages.texts.size(), 2u);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(SettingsWindow, DirectoryInPlaceOfSettingsFileIsReported) {
    std::filesystem::remove(ini);
    std::filesystem::create_directory(ini);
    auto w = Open();
    EXPECT_EQ(Text(w.get(), "txtModality"), "");
    Click(w.get(), "cmdSpeichern");
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], platform::cp1252::Ansi("Die Einstellungen konnten nicht in ") +
                                     ini + platform::cp1252::Ansi(" gespeichert werden."));
}

} // namespace
} // namespace tessaro
