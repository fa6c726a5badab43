// The program's settings with one owner: the values the program runs with
// (PathS, PathD, LumeoID, Suffix, Manual, StudyDesc), the stored default
// modality and the operator's short code, as Settings.ini holds them. Load()
// reads them at start-up, Save() applies what the settings window gives and
// writes it, SaveShortCode() keeps the short code for the next start.
#pragma once

#include "config/settings_store.h"
#include "config/settings_values.h"

#include <functional>
#include <string>
#include <vector>

namespace tessaro::config {

class Settings {
public:
    explicit Settings(std::string iniFile) : file_(std::move(iniFile)) {}

    const std::string& File() const { return file_; }
    // The values held now: as loaded, or as last applied.
    const ProgramSettings& Values() const { return values_; }

    // Start-up: the values held as read; the short code and the modality as
    // read, for the window's boxes, and what was wrong, for it to say.
    StartupValues Load();
    // Holds values without writing them (a start without the file).
    void Hold(const ProgramSettings& values) { values_ = values; }

    // The stored default modality, read from the file each time it is asked.
    std::string StoredModality() const;

    // Applies: the modality is announced first, then the values are held, and
    // only then written, so that they take effect even where the file cannot
    // be written. suffix as typed (held upper case). True when written.
    bool Save(const ProgramSettings& values, const std::string& modality,
              const std::string& suffix);

    // True when written; an empty short code too.
    bool SaveShortCode(const std::string& shortCode) const;

    // Called with every applied modality, before the values change.
    void OnModalityApplied(std::function<void(const std::string&)> listener) {
        listeners_.push_back(std::move(listener));
    }

private:
    std::string file_;
    ProgramSettings values_;
    std::vector<std::function<void(const std::string&)>> listeners_;
};

} // namespace tessaro::config
