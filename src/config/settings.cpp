#include "config/settings.h"

#include "config/settings_keys.h"
#include "platform/cp1252.h"

namespace tessaro::config {

StartupValues Settings::Load() {
    StartupValues loaded = LoadSettings(file_);
    values_ = loaded.values;
    return loaded;
}

std::string Settings::StoredModality() const {
    return ReadIniValue(kModalitySection, kModalityKey, "", file_, kValueSize);
}

bool Settings::Save(const ProgramSettings& values, const std::string& modality,
                    const std::string& suffix) {
    for (const auto& listener : listeners_)
        listener(modality);
    values_ = values;
    values_.Suffix = platform::cp1252::ToUpper(suffix);
    return SaveSettings({values_, modality, suffix}, file_);
}

bool Settings::SaveShortCode(const std::string& shortCode) const {
    return config::SaveShortCode(shortCode, file_);
}

} // namespace tessaro::config
