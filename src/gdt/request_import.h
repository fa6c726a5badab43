// Import of the pending request: the whole file kept byte for byte, and the
// patient number, first and last name for the three status-bar panels.
#pragma once

#include "platform/errors.h"

#include <array>
#include <optional>
#include <string>

namespace tessaro::gdt {

// The largest request taken in: far above any real one (a few kilobytes), and
// low enough that a stray file of gigabytes cannot exhaust the memory.
inline constexpr std::size_t kMaxRequestBytes = 64u << 20;

// A panel keeps at most this much of its field: it is only ever shown, and the
// display cuts far earlier. A request whose lines end in LF alone would
// otherwise hand its whole text to one panel, a second copy of it.
inline constexpr std::size_t kMaxPanelBytes = 4096;

struct ImportResult {
    // RequestText: the file's bytes, or "" when nothing usable was read.
    std::string requestText;
    // New panel texts "ID: …", "VN: …", "NN: …" (Windows-1252); nullopt where the
    // field does not occur, so the panel keeps what it had.
    std::array<std::optional<std::string>, 3> panels;
    // What went wrong, for the window to say; the import returns normally.
    enum class Problem {
        None,
        TooLarge, // over kMaxRequestBytes: nothing read, the file left as it is
        InUse,    // another program holds it open (error says so)
        Failed,   // error says what
    } problem = Problem::None;
    std::optional<platform::PlatformError> error;
    unsigned long long size = 0; // of a file too large
    std::string path;
};

// Panel texts as the main window creates them.
inline constexpr std::array<const char*, 3> kInitialPanelTexts = {"ID:", "VN:", "NN:"};

// Reads the file at path. Every failure is in the result's problem, and the
// import returns normally with what it has. A file over kMaxRequestBytes is
// refused before it is read: nothing imported, the file left as it is.
ImportResult ReadRequestFile(const std::string& path);

// Panel texts from a request text already in memory (the reading rule alone),
// each cut to kMaxPanelBytes.
// Throws platform::PlatformError(Overflow) when the text splits into 32,768 or more pieces.
std::array<std::optional<std::string>, 3> PanelsFromRequest(const std::string& requestText);

} // namespace tessaro::gdt
