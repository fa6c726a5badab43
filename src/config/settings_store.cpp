#include "config/settings_store.h"

#include "config/settings_keys.h"
#include "platform/cp1252.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/trim.h"

namespace tessaro::config {
namespace {

constexpr const char* kPathSKey = "PathS";
constexpr const char* kPathDKey = "PathD";
constexpr const char* kLumeoIdKey = "LumeoID";
constexpr const char* kSuffixKey = "Suffix";
constexpr const char* kManualKey = "Manual";
constexpr const char* kStudyDescKey = "StudyDesc";

const char* Flag(bool on) {
    return on ? "1" : "0";
}

// One value of the start-up load. A character the core cannot hold is
// reported, naming the key, so that a path that leads nowhere has a reason.
std::string Load(const platform::Profile& profile, const std::string& section,
                 const std::string& key, const std::string& def,
                 std::vector<SettingsProblem>& problems, std::size_t size = kValueSize) {
    const platform::ProfileString read = profile.Get(section, key, def, size);
    if (read.lossy)
        problems.push_back({SettingsProblem::Kind::Lossy, key, read.text});
    return read.text.substr(0, read.copied);
}

// Reads a flag; a value that is no flag is reported and counts as off.
bool LoadFlag(const platform::Profile& profile, const char* key, bool def,
              std::vector<SettingsProblem>& problems) {
    const std::string text = Load(profile, kGdtSection, key, Flag(def), problems);
    if (const auto flag = ParseFlag(text))
        return *flag;
    problems.push_back({SettingsProblem::Kind::InvalidFlag, key, text});
    return false;
}

// Whether text reads as a number the way the platform converts text to a
// number, and if so whether it is not zero: optional sign, digits with at most
// one decimal point, an optional exponent (E or D, optional sign, digits); or
// "&H" with hexadecimal and "&O" with octal digits. Judged by the digits alone,
// so that no length of them can overflow: a non-zero mantissa is not zero
// whatever its exponent.
std::optional<bool> ReadsAsNonZeroNumber(std::string_view t) {
    auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    std::size_t i = 0;
    bool anyDigit = false;
    bool nonZero = false;
    if (t.size() > 2 && t[0] == '&' && (upper(t[1]) == 'H' || upper(t[1]) == 'O')) {
        const bool hex = upper(t[1]) == 'H';
        for (i = 2; i < t.size(); ++i) {
            const char c = upper(t[i]);
            const bool digit =
                hex ? (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') : c >= '0' && c <= '7';
            if (!digit)
                return std::nullopt;
            nonZero = nonZero || c != '0';
        }
        return nonZero;
    }
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    bool point = false;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9') {
            anyDigit = true;
            nonZero = nonZero || c != '0';
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    if (i < t.size() && (upper(t[i]) == 'E' || upper(t[i]) == 'D')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        const std::size_t exponentStart = i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9')
            ++i;
        if (i == exponentStart)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    return nonZero;
}

} // namespace

const std::string kShortSection = platform::cp1252::Ansi("Kürzel");
const std::string kShortKey = platform::cp1252::Ansi("Kürzel");

std::string IniPath(const std::string& programDirectory) {
    return platform::Join(programDirectory, kFileName);
}

std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& def,
                         const std::string& file, std::size_t size) {
    const platform::ProfileString read = platform::ReadProfileString(section, key, def, size, file);
    return read.text.substr(0, read.copied);
}

std::optional<bool> ParseFlag(const std::string& text) {
    const std::string_view t = platform::TrimSpacesAndTabs(text);
    if (platform::cp1252::EqualsIgnoringCase(t, "true"))
        return true;
    if (platform::cp1252::EqualsIgnoringCase(t, "false"))
        return false;

    return ReadsAsNonZeroNumber(t);
}

StartupValues LoadSettings(const std::string& iniFile) {
    // Read and split once for all values: a large file costs one pass, not one
    // per value.
    const platform::Profile profile(iniFile);
    StartupValues v;
    if (profile.TooLarge())
        v.problems.push_back({SettingsProblem::Kind::TooLarge, {}, {}});
    // A missing key gives the value a program without Settings.ini holds.
    const ProgramSettings defaults;
    v.shortCode = Load(profile, kShortSection, kShortKey, "", v.problems);
    v.modality = Load(profile, kModalitySection, kModalityKey, "", v.problems);
    v.values.PathS =
        Load(profile, kGdtSection, kPathSKey, defaults.PathS, v.problems, kPathValueSize);
    v.values.PathD =
        Load(profile, kGdtSection, kPathDKey, defaults.PathD, v.problems, kPathValueSize);
    v.values.LumeoID = Load(profile, kGdtSection, kLumeoIdKey, defaults.LumeoID, v.problems);
    v.values.Suffix = platform::cp1252::ToUpper(
        Load(profile, kGdtSection, kSuffixKey, defaults.Suffix, v.problems));
    v.values.Manual = LoadFlag(profile, kManualKey, defaults.Manual, v.problems);
    v.values.StudyDesc = LoadFlag(profile, kStudyDescKey, defaults.StudyDesc, v.problems);
    return v;
}

bool SaveSettings(const AppliedSettings& applied, const std::string& iniFile) {
    const ProgramSettings& v = applied.values;
    bool written = true;
    // Every key is tried, whatever failed before it.
    auto write = [&](const std::string& section, const std::string& key, const std::string& value) {
        written = platform::WriteProfileString(section, key, value, iniFile) && written;
    };
    write(kGdtSection, kPathSKey, v.PathS);
    write(kModalitySection, kModalityKey, applied.modality);
    write(kGdtSection, kPathDKey, v.PathD);
    write(kGdtSection, kSuffixKey, applied.suffix);
    write(kGdtSection, kLumeoIdKey, v.LumeoID);
    write(kGdtSection, kStudyDescKey, Flag(v.StudyDesc));
    write(kGdtSection, kManualKey, Flag(v.Manual));
    return written;
}

bool SaveShortCode(const std::string& shortCode, const std::string& iniFile) {
    return platform::WriteProfileString(kShortSection, kShortKey, shortCode, iniFile);
}

} // namespace tessaro::config
