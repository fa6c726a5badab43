// Settings.ini beside the program as config::Settings reads and writes it: the
// start-up load and the saves. The key names stand in settings_keys.h, which
// nothing outside src/config includes. Every read and write goes to the file.
#pragma once

#include "config/settings_values.h"

#include <optional>
#include <string>
#include <vector>

namespace tessaro::config {

inline constexpr const char* kFileName = "Settings.ini";
// programDirectory + "/Settings.ini".
std::string IniPath(const std::string& programDirectory);

// Flag text -> Boolean: a number (decimal with exponent, &H hexadecimal, &O
// octal) is true when not zero; True/False in any case.
// nullopt for anything else (the empty text included).
std::optional<bool> ParseFlag(const std::string& text);

// What the start-up load found wrong, for the window to say, in load order.
struct SettingsProblem {
    enum class Kind {
        TooLarge,    // neither read nor written; the defaults hold
        Lossy,       // key's value holds characters Windows-1252 lacks, read as "?"
        InvalidFlag, // key's value is no flag; it counts as off
    } kind;
    std::string key;
    std::string value;
};

struct StartupValues {
    std::string shortCode; // for txtShort
    std::string modality;  // for txtMod
    config::ProgramSettings values;
    std::vector<SettingsProblem> problems;
};

// Loads in start-up order: short code, modality, PathS, PathD, LumeoID, Suffix
// (upper-cased), Manual, StudyDesc. An invalid flag is reported in problems,
// with key and value, and taken as false.
// The file is read once for all of them. A file too large to read is
// reported and gives the defaults, as does a missing one; a value holding a
// character Windows-1252 lacks is reported with the "?" it reads as.
StartupValues LoadSettings(const std::string& iniFile);

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

} // namespace tessaro::config
