// Import of the pending request: the whole file kept byte for byte, and the
// patient number, first and last name for the three status-bar panels.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/message_box.h"

namespace tessaro::gdt {

struct ImportResult {
    // RequestText: the file's bytes, or "" when nothing usable was read.
    std::string requestText;
    // New panel texts "ID: …", "VN: …", "NN: …" (Windows-1252); nullopt where the
    // field does not occur, so the panel keeps what it had.
    std::array<std::optional<std::string>, 3> panels;
};

// Panel texts as the main window creates them.
inline constexpr std::array<const char*, 3> kInitialPanelTexts = {"ID:", "VN:", "NN:"};

// Reads the file at path. Every failure is reported through messages ("Es ist ein
// Fehler aufgetreten." CR LF number " - " description) and the import returns
// normally with what it has.
ImportResult ReadRequestFile(const std::string& path, platform::MessageBox& messages);

// Panel texts from a request text already in memory (the reading rule alone).
// Throws platform::PlatformError(Overflow) when the text splits into 32,768 or more pieces.
std::array<std::optional<std::string>, 3> PanelsFromRequest(const std::string& requestText);

} // namespace tessaro::gdt
