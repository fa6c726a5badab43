// frmSettings: the settings window, opened modally from the main window's menu.
#pragma once

#include <string>

#include "config/folder_chooser.h"
#include "config/settings_values.h"
#include "platform/message_box.h"

class QLineEdit;
class QWidget;

namespace tessaro {

struct SettingsWindowContext {
    ProgramSettings& values;  // the program-wide values, changed by apply
    std::string iniFile;      // full path of Settings.ini (Windows-1252)
    QLineEdit* mainModality;  // the main window's txtMod, set by apply
    FolderChooser& folders;
    MessageBox& messages;
};

// Shows the settings window modally over owner; returns when it has been closed.
void ShowSettingsWindow(QWidget* owner, const SettingsWindowContext& context);

} // namespace tessaro
