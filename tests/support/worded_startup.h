// The request imported, the number drawn and the settings loaded as the main
// window does it: what the window would say about a failure is recorded, worded as it words it.
#pragma once

#include "app/startup_messages.h"
#include "config/settings_store.h"
#include "gdt/request_import.h"
#include "support/recording_message_box.h"

#include <cstdint>
#include <string>

namespace tessaro::test {

inline gdt::ImportResult ImportWorded(const std::string& path, RecordingMessageBox& messages) {
    gdt::ImportResult imported = gdt::ReadRequestFile(path);
    if (const std::string text = app::ImportMessage(imported); !text.empty())
        messages.ShowError(text);
    return imported;
}

inline std::int16_t DrawWorded(const std::string& programDirectory, RecordingMessageBox& messages) {
    const gdt::DrawnNumber drawn = gdt::NextSequenceNumber(programDirectory);
    if (const std::string text = app::CounterMessage(drawn); !text.empty())
        messages.ShowError(text);
    return drawn.number;
}

inline config::StartupValues LoadWorded(const std::string& iniFile, RecordingMessageBox& messages) {
    config::StartupValues loaded = config::LoadSettings(iniFile);
    for (const std::string& text : app::SettingsMessages(loaded))
        messages.ShowError(text);
    return loaded;
}

} // namespace tessaro::test
