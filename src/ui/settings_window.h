// frmSettings: the settings window, opened modally from the main window's menu.
#pragma once

#include "config/settings.h"
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
    config::Settings& settings; // the program-wide values, applied through it
    FolderChooser& folders;
    platform::OperatorMessages& messages;
};

// Built and filled on construction, run modally with exec(), discarded when
// closed. The main window learns of an applied modality from config::Settings.
class SettingsWindow : public QDialog {
    Q_OBJECT

public:
    SettingsWindow(QWidget* owner, const SettingsWindowContext& context);

    // Any way of closing ends a running source scan.
    void done(int result) override;

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
