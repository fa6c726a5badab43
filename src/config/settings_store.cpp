#include "config/settings_store.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "platform/profile.h"

namespace tessaro::config {
namespace {

bool EqualsIgnoringAsciiCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        const char x = (a[i] >= 'a' && a[i] <= 'z') ? static_cast<char>(a[i] - 32) : a[i];
        const char y = (b[i] >= 'a' && b[i] <= 'z') ? static_cast<char>(b[i] - 32) : b[i];
        if (x != y)
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

// Reads a flag; a value that is no flag is reported and counts as off.
bool LoadFlag(const std::string& iniFile, const char* key, platform::MessageBox& messages) {
    const std::string text = ReadIniValue(kGdtSection, key, "0", iniFile, kValueSize);
    if (const auto flag = ParseFlag(text))
        return *flag;
    messages.ShowError(platform::cp1252::Ansi("Ungültiger Wert für ") + key +
                       platform::cp1252::Ansi(" in Settings.ini: \"") + text +
                       platform::cp1252::Ansi("\". Die Einstellung gilt als aus."));
    return false;
}

} // namespace

const std::string kShortSection = platform::cp1252::Ansi("Kürzel");
const std::string kShortKey = platform::cp1252::Ansi("Kürzel");

std::string IniPath(const std::string& programDirectory) {
    return platform::Join(programDirectory, kFileName);
}

std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& def,
                         const std::string& file, std::size_t size) {
    const platform::ProfileString read = platform::GetPrivateProfileString(section, key, def, size, file);
    return read.text.substr(0, read.copied);
}

std::optional<bool> ParseFlag(const std::string& text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t'))
        --e;
    const std::string t = text.substr(b, e - b);
    if (EqualsIgnoringAsciiCase(t, "true"))
        return true;
    if (EqualsIgnoringAsciiCase(t, "false"))
        return false;

    // A number, judged by its digits alone so that no length of it can overflow:
    // optional sign, digits, optionally a decimal point and more digits.
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    bool anyDigit = false;
    bool nonZero = false;
    bool point = false;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9') {
            anyDigit = true;
            nonZero = nonZero || c != '0';
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    return nonZero;
}

StartupValues LoadSettings(const std::string& iniFile, platform::MessageBox& messages) {
    StartupValues v;
    v.shortCode = ReadIniValue(kShortSection, kShortKey, "", iniFile, kValueSize);
    v.modality = ReadIniValue(kModalitySection, kModalityKey, "", iniFile, kValueSize);
    v.values.PathS = ReadIniValue(kGdtSection, "PathS", "", iniFile, kValueSize);
    v.values.PathD = ReadIniValue(kGdtSection, "PathD", "", iniFile, kValueSize);
    v.values.LumeoID = ReadIniValue(kGdtSection, "LumeoID", "001", iniFile, kValueSize);
    v.values.Suffix =
        platform::cp1252::ToUpper(ReadIniValue(kGdtSection, "Suffix", "gdt", iniFile, kValueSize));
    v.values.Manual = LoadFlag(iniFile, "Manual", messages);
    v.values.StudyDesc = LoadFlag(iniFile, "StudyDesc", messages);
    return v;
}

} // namespace tessaro::config
