// The two browse buttons of the settings window: the target chooser, the source
// chooser's scan for the request file, a scan that is overtaken or closed, and a
// path with umlauts on its way through Settings.ini.
#include "config/settings_store.h"
#include "platform/cp1252.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "support/temp_dir.h"
#include "support/worded_startup.h"
#include "ui/settings_window_fixture.h"

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
using test::Spit;
using test::TempDir;

class SettingsChoosers : public test::SettingsWindowFixture {
protected:
    // A fresh folder holding empty files with the given (UTF-8) names.
    std::string Folder(const std::string& name, std::initializer_list<const char*> files) {
        const std::string folder = dir.File(name);
        std::filesystem::create_directories(folder);
        for (const char* file : files)
            Spit(folder + "/" + file, "");
        return folder;
    }

    static QLineEdit* Field(QWidget* w, const char* name) { return Get<QLineEdit>(w, name); }
    // Chooses folder with the source button and returns what the source field shows.
    QString Source(const std::string& folder) {
        auto w = Open();
        folders.answers.push_back(QString::fromStdString(folder));
        Click(w.get(), "cmdSrcSource");
        return Field(w.get(), "txtGDTpathS")->text();
    }
};

TEST_F(SettingsChoosers, TargetChooserFillsTheFieldUnlessCancelled) {
    values.PathD = "/alt";
    auto w = Open();
    Click(w.get(), "cmdSRCDest"); // no answer queued: cancelled
    EXPECT_EQ(Field(w.get(), "txtGDTpathD")->text(), "/alt");
    EXPECT_FALSE(w->findChild<QPushButton*>("cmdApply")->isEnabled());

    folders.answers.push_back("/neu/ziel");
    Click(w.get(), "cmdSRCDest");
    EXPECT_EQ(Field(w.get(), "txtGDTpathD")->text(), "/neu/ziel");
    EXPECT_TRUE(w->findChild<QPushButton*>("cmdApply")->isEnabled());
    ASSERT_EQ(folders.titles.size(), 2u);
    EXPECT_EQ(folders.titles[0], QString::fromUtf8("Bitte wählen Sie den Ordner aus..."));
    EXPECT_EQ(Held().PathD, "/alt"); // nothing applied yet
}

TEST_F(SettingsChoosers, SourceChooserCancelledLeavesTheField) {
    values.PathS = "/in/a.gdt";
    auto w = Open();
    Click(w.get(), "cmdSrcSource");
    EXPECT_EQ(Field(w.get(), "txtGDTpathS")->text(), "/in/a.gdt");
    EXPECT_FALSE(w->findChild<QPushButton*>("cmdApply")->isEnabled());
    ASSERT_EQ(folders.titles.size(), 1u);
    EXPECT_EQ(folders.titles[0], QString::fromUtf8("Bitte wählen Sie einen Ordner..."));
}

TEST_F(SettingsChoosers, SourceScanFindsTheFileWithTheHeldSuffixAnywhereInItsName) {
    const auto found = [&](const std::string& folder, const char* name) {
        return QString::fromStdString(folder + "/" + name);
    };
    const std::string upper = Folder("upper", {"x.txt", "anfrage.GDT"});
    EXPECT_EQ(Source(upper), found(upper, "anfrage.GDT"));
    const std::string lower = Folder("lower", {"x.txt", "anfrage.gdt"});
    EXPECT_EQ(Source(lower), found(lower, "anfrage.gdt"));
    const std::string backup = Folder("backup", {"alt.gdt.bak"});
    EXPECT_EQ(Source(backup), found(backup, "alt.gdt.bak"));
    const std::string longer = Folder("longer", {"a.gdtx"});
    EXPECT_EQ(Source(longer), found(longer, "a.gdtx"));
    // The dot belongs to the match: "gdt" without one is no request file.
    const std::string nodot = Folder("nodot", {"gdt", "agdt_txt"});
    EXPECT_EQ(Source(nodot), QString::fromStdString(nodot));
    const std::string empty = Folder("empty", {});
    EXPECT_EQ(Source(empty), QString::fromStdString(empty));
    // A folder that cannot be listed leaves the folder path, quietly.
    EXPECT_EQ(Source(dir.File("missing")), QString::fromStdString(dir.File("missing")));
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(SettingsChoosers, EmptySuffixMatchesTheFirstNameWithADot) {
    values.Suffix = "";
    const std::string folder = Folder("any", {"README", "notiz.txt"});
    EXPECT_EQ(Source(folder), QString::fromStdString(folder + "/notiz.txt"));
}

TEST_F(SettingsChoosers, OnlyTheAppliedSuffixCounts) {
    const std::string folder = Folder("hl7", {"a.hl7"});
    auto w = Open();
    auto* suffix = Field(w.get(), "txtSuffix");
    suffix->selectAll();
    QTest::keyClicks(suffix, "hl7");
    folders.answers.push_back(QString::fromStdString(folder));
    Click(w.get(), "cmdSrcSource");
    EXPECT_EQ(Field(w.get(), "txtGDTpathS")->text(), QString::fromStdString(folder));

    Click(w.get(), "cmdApply"); // held "HL7" now, stored "hl7"
    folders.answers.push_back(QString::fromStdString(folder));
    Click(w.get(), "cmdSrcSource");
    EXPECT_EQ(Field(w.get(), "txtGDTpathS")->text(), QString::fromStdString(folder + "/a.hl7"));
}

TEST_F(SettingsChoosers, ClosingTheWindowEndsARunningScan) {
    const std::string folder = Folder("req", {"a.gdt"});
    auto w = Open();
    folders.answers.push_back(QString::fromStdString(folder));
    // Runs inside the scan, while it processes pending events.
    QTimer::singleShot(0, w.get(), [&] { w->close(); });
    Click(w.get(), "cmdSrcSource");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Field(w.get(), "txtGDTpathS")->text(), QString::fromStdString(folder));
}

TEST_F(SettingsChoosers, ASecondChoiceDuringAScanReplacesIt) {
    const std::string first = Folder("first", {"a.gdt"});
    const std::string second = Folder("second", {"b.gdt"});
    auto w = Open();
    folders.answers.push_back(QString::fromStdString(first));
    folders.answers.push_back(QString::fromStdString(second));
    QTimer::singleShot(0, w.get(), [&] { Click(w.get(), "cmdSrcSource"); });
    Click(w.get(), "cmdSrcSource");
    EXPECT_EQ(folders.titles.size(), 2u);
    EXPECT_EQ(Field(w.get(), "txtGDTpathS")->text(), QString::fromStdString(second + "/b.gdt"));
}

TEST_F(SettingsChoosers, UmlautPathTravelsThroughSettingsIniToTheRightFile) {
    const std::string folder = Folder("Röntgen Anfragen", {"anfrage.gdt"});
    auto w = Open();
    folders.answers.push_back(QString::fromStdString(folder)); // the dialog's Unicode path
    Click(w.get(), "cmdSrcSource");
    Click(w.get(), "cmdSpeichern");

    const std::string stored = platform::ReadProfileString("GDT", "PathS", "", 256, ini).text;
    EXPECT_NE(stored.find(platform::cp1252::Ansi("Röntgen")), std::string::npos);
    // The next start reads it back and finds the file.
    const config::StartupValues next = test::LoadWorded(ini, messages);
    EXPECT_EQ(next.values.PathS, stored);
    EXPECT_TRUE(platform::FileExists(next.values.PathS));
}

} // namespace
} // namespace tessaro
