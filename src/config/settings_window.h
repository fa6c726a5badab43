// frmSettings: the settings window, opened modally from the main window's menu.
#pragma once

#include "ui/folder_chooser.h"
#include "config/settings_values.h"
#include "platform/message_box.h"
#include "ui/settings_window_layout.h"

#include <QDialog>
#include <QPointer>
#include <string>

class QLineEdit;
class QWidget;

namespace tessaro {

struct ui::SettingsWindowContext {
    config::ProgramSettings& values; // the program-wide values, changed by apply
    std::string iniFile;     // full path of Settings.ini (Windows-1252)
    QLineEdit* mainModality; // the main window's txtMod, set by apply
    ui::FolderChooser& folders;
    platform::MessageBox& messages;
};

// Shows the settings window modally over owner; returns when it has been closed.
void ui::ShowSettingsWindow(QWidget* owner, const ui::SettingsWindowContext& context);

// The window itself; ui::ShowSettingsWindow runs it with exec(). Built and filled on
// construction, discarded when closed.
class ui::SettingsWindow : public QDialog {
    Q_OBJECT

public:
    ui::SettingsWindow(QWidget* owner, const ui::SettingsWindowContext& context);

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

    void cmdApply_Click();
    void cmdSpeichern_Click();
    void cmdCancel_Click();
    void cmdSRCDest_Click();
    void cmdSrcSource_Click();

    ui::SettingsWindowContext context_;
    QPointer<QLineEdit> mainModality_;
    ui::SettingsControls c_;
    // Raised by every new source scan and by closing; a scan whose number is no
    // longer current stops before touching the window again.
    unsigned scanGeneration_ = 0;
};

} // namespace tessaro
