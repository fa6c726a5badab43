#include "config/settings_window.h"

namespace tessaro {

// Placeholder until the settings window is built.
void ShowSettingsWindow(QWidget*, const SettingsWindowContext&) {}

} // namespace tessaro
