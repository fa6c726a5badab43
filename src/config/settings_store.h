// Settings.ini beside the program as config::Settings reads and writes it: the
// start-up load and the saves. The key names stand in settings_keys.h, which
// nothing outside src/config includes. Every read and write goes to the file.
#pragma once

#include "config/settings_values.h"
#include "platform/message_box.h"

#include <optional>
#include <string>

namespace tessaro::config {

inline constexpr const char* kFileName = "Settings.ini";
// programDirectory + "/Settings.ini".
std::string IniPath(const std::string& programDirectory);

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
