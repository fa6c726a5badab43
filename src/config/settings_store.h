// Settings.ini beside the program: sections, keys, defaults, the read helper,
// the start-up load and the saves. The one owner of the key names: nothing else
// names a key. Every read and write goes to the file; nothing is cached.
#pragma once

#include "config/settings_values.h"
#include "platform/message_box.h"

#include <optional>
#include <string>

namespace tessaro::config {

inline constexpr const char* kFileName = "Settings.ini";
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

// programDirectory + "/Settings.ini".
std::string IniPath(const std::string& programDirectory);

// The value of key, or def; at most size - 1 bytes.
std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& def,
                         const std::string& file, std::size_t size);

// Flag text -> Boolean: a number (decimal with exponent, &H hexadecimal, &O
// octal) is true when not zero; True/False in any case.
// nullopt for anything else (the empty text included).
std::optional<bool> ParseFlag(const std::string& text);

struct StartupValues {
    std::string shortCode; // for txtShort
    std::string modality;  // for txtMod
    config::ProgramSettings values;
};

// Loads in start-up order: short code, modality, PathS, PathD, LumeoID, Suffix
// (upper-cased), Manual, StudyDesc. An invalid flag is reported once through
// messages, naming key and value, and taken as false.
// The file is read once for all of them. A file too large to read is
// reported and gives the defaults, as does a missing one; a value holding a
// character Windows-1252 lacks is reported with the "?" it reads as.
StartupValues LoadSettings(const std::string& iniFile, platform::OperatorMessages& messages);

// What the settings window applies.
struct AppliedSettings {
    const ProgramSettings& values;
    const std::string& modality; // the stored default for txtMod
    const std::string& suffix;   // as typed; values.Suffix is its upper-case form
};

// Writes the applied values key by key, in the order PathS, Modality, PathD,
// Suffix, LumeoID, StudyDesc, Manual; each write keeps the file's encoding, and
// a file too large to read is never written. True when every key was written.
bool SaveSettings(const AppliedSettings& applied, const std::string& iniFile);

// The short code, as the unload leaves it for the next start (an empty one
// too). True when it was written.
bool SaveShortCode(const std::string& shortCode, const std::string& iniFile);

// That the short code could not be kept for the next start, naming the file.
std::string ShortCodeNotSavedMessage(const std::string& iniFile);

// Why a Settings.ini over the size limit is neither read nor written (Windows-1252).
std::string TooLargeMessage();

} // namespace tessaro::config
