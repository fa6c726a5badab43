// Settings.ini's sections and keys, its value sizes and the read helper:
// private to src/config (and its tests), so that nothing else names a key.
#pragma once

#include <cstddef>
#include <string>

namespace tessaro::config {

inline constexpr std::size_t kValueSize = 256;
// PathS and PathD: a path may run to Windows' long-path limit of 32767
// characters, where 255 would cut it into a folder that does not exist.
inline constexpr std::size_t kPathValueSize = 32768;

// Section and key names, Windows-1252 ("Kürzel" has the byte 0xFC).
extern const std::string kShortSection; // "Kürzel"
extern const std::string kShortKey;     // "Kürzel"
inline constexpr const char* kModalitySection = "Modality";
inline constexpr const char* kModalityKey = "Modality";
inline constexpr const char* kGdtSection = "GDT";

// The value of key, or def; at most size - 1 bytes.
std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& def,
                         const std::string& file, std::size_t size);

} // namespace tessaro::config
