// What the settings window tests share: a Settings.ini in a fresh folder, the
// held values, the main window's modality box, a folder chooser that answers
// from a queue and a message recorder, plus finding and clicking controls.
#pragma once

#include "support/fake_folder_chooser.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "ui/settings_window.h"
#include "ui/text.h"

#include <QLineEdit>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <memory>

namespace tessaro::test {

class SettingsWindowFixture : public ::testing::Test {
protected:
    SettingsWindowFixture() {
        values.Suffix = "GDT";
        settings.OnModalityApplied(
            [this](const std::string& modality) { mainModality.setText(ui::FromAnsi(modality)); });
    }

    // The values set up in values held, and the modality connected as the
    // main window connects its txtMod.
    ui::SettingsWindowContext Context() {
        settings.Hold(values);
        return {settings, folders, messages};
    }

    std::unique_ptr<ui::SettingsWindow> Open() {
        auto window = std::make_unique<ui::SettingsWindow>(nullptr, Context());
        window->show();
        return window;
    }

    // The values as the settings hold them after an apply.
    const config::ProgramSettings& Held() const { return settings.Values(); }

    template <class T> static T* Get(QWidget* window, const char* name) {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static void Click(QWidget* window, const char* name) {
        QTest::mouseClick(Get<QWidget>(window, name), Qt::LeftButton);
    }
    static QString Text(QWidget* window, const char* name) {
        return Get<QLineEdit>(window, name)->text();
    }

    TempDir dir;
    std::string ini = dir.File("Settings.ini");
    config::ProgramSettings values;
    config::Settings settings{ini};
    QLineEdit mainModality;
    FakeFolderChooser folders;
    RecordingMessageBox messages;
};

} // namespace tessaro::test
