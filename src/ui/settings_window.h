// frmSettings: the settings window, opened modally from the main window's menu.
#pragma once

#include "config/settings_values.h"
#include "platform/message_box.h"
#include "ui/folder_chooser.h"
#include "ui/settings_window_layout.h"

#include <QDialog>
#include <QPointer>
#include <string>

class QLineEdit;
class QWidget;

namespace tessaro::ui {

struct SettingsWindowContext {
    config::ProgramSettings& values; // the program-wide values, changed by apply
    std::string iniFile;             // full path of Settings.ini (Windows-1252)
    FolderChooser& folders;
    platform::OperatorMessages& messages;
};

// Built and filled on construction, run modally with exec(), discarded when
// closed. The main window learns of an applied modality through ModalityApplied.
class SettingsWindow : public QDialog {
    Q_OBJECT

public:
    SettingsWindow(QWidget* owner, const SettingsWindowContext& context);

    // Any way of closing ends a running source scan.
    void done(int result) override;

signals:
    // Apply sends the modality first, before any held value changes, so that
    // the main window's own change handling runs on the values as they were.
    void ModalityApplied(const QString& modality);

protected:
    // Enter presses only the focused push button; Escape presses nothing.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void TrackChanges();
    void MarkChanged();
    void Apply();

    // Asks the chooser and puts the folder into box; false when nothing was chosen
    // or the window closed meanwhile.
    bool ChooseFolderInto(QLineEdit* box, const QString& title);

    void cmdApply_Click();
    void cmdSpeichern_Click();
    void cmdCancel_Click();
    void cmdSRCDest_Click();
    void cmdSrcSource_Click();

    SettingsWindowContext context_;
    ui::SettingsControls c_;
    // Raised by every new source scan and by closing; a scan whose number is no
    // longer current stops before touching the window again.
    unsigned scanGeneration_ = 0;
};

} // namespace tessaro::ui
