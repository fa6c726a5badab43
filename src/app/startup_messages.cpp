#include "app/startup_messages.h"

#include "platform/cp1252.h"

namespace tessaro::app {

std::string CounterMessage(const gdt::DrawnNumber& drawn) {
    switch (drawn.problem) {
    case gdt::DrawnNumber::Problem::None:
        return {};
    case gdt::DrawnNumber::Problem::TooLarge:
        return platform::cp1252::Ansi("Die Datei ") + gdt::kCounterFileName +
               platform::cp1252::Ansi(" ist größer als ") + std::to_string(gdt::kMaxCounterBytes) +
               platform::cp1252::Ansi(" Bytes und wird weder gelesen noch überschrieben. Diese "
                                      "Sitzung erhält die Nummer 1.");
    case gdt::DrawnNumber::Problem::Failed:
        break;
    }
    // The first line as it has always read; the file on the next, so IT
    // knows which one to look at.
    return platform::ErrorOccurredMessage(
               drawn.error.value_or(platform::PlatformError(platform::ErrorNumber::DeviceIo)), "") +
           "\r\n" + platform::cp1252::Ansi("Datei: ") + drawn.path;
}

std::string ImportMessage(const gdt::ImportResult& imported) {
    const platform::PlatformError error =
        imported.error.value_or(platform::PlatformError(platform::ErrorNumber::DeviceIo));
    switch (imported.problem) {
    case gdt::ImportResult::Problem::None:
        return {};
    case gdt::ImportResult::Problem::TooLarge:
        return platform::cp1252::Ansi("Die Anforderung ist zu groß: ") +
               std::to_string(imported.size) +
               platform::cp1252::Ansi(" Bytes, erlaubt sind höchstens ") +
               std::to_string(gdt::kMaxRequestBytes >> 20) + " MB.\r\n" + imported.path + "\r\n" +
               platform::cp1252::Ansi("Es wurde nichts übernommen; die Datei bleibt, wie sie ist.");
    case gdt::ImportResult::Problem::InUse:
        // Named, and the likely holder said, so nobody checks rights in vain.
        return platform::ErrorOccurredMessage(error, "\r\n") + ":\r\n" + imported.path + "\r\n" +
               platform::cp1252::Ansi("Das Praxisprogramm schreibt sie vielleicht noch, oder ein "
                                      "Virenscanner prüft sie. Bitte Tessaro in einem Augenblick "
                                      "neu starten.");
    case gdt::ImportResult::Problem::Failed:
        break;
    }
    return platform::ErrorOccurredMessage(error, "\r\n");
}

std::string SettingsTooLargeMessage() {
    return platform::cp1252::Ansi("Die Datei Settings.ini ist größer als 1 MB und wird weder "
                                  "gelesen noch überschrieben. Es gelten die Standardwerte.");
}

std::vector<std::string> SettingsMessages(const config::StartupValues& loaded) {
    std::vector<std::string> texts;
    for (const config::SettingsProblem& p : loaded.problems) {
        switch (p.kind) {
        case config::SettingsProblem::Kind::TooLarge:
            texts.push_back(SettingsTooLargeMessage());
            break;
        case config::SettingsProblem::Kind::Lossy:
            texts.push_back(platform::cp1252::Ansi("Der Wert von ") + p.key +
                            platform::cp1252::Ansi(" in Settings.ini enthält Zeichen, die Tessaro "
                                                   "nicht verarbeiten kann; sie werden als \"?\" "
                                                   "gelesen: \"") +
                            p.value + "\".");
            break;
        case config::SettingsProblem::Kind::InvalidFlag:
            texts.push_back(platform::cp1252::Ansi("Ungültiger Wert für ") + p.key +
                            platform::cp1252::Ansi(" in Settings.ini: \"") + p.value +
                            platform::cp1252::Ansi("\". Die Einstellung gilt als aus."));
            break;
        }
    }
    return texts;
}

std::string ShortCodeNotSavedMessage(const std::string& iniFile) {
    return platform::cp1252::Ansi("Das Kürzel konnte nicht gespeichert werden:") + "\r\n" +
           iniFile + "\r\n" +
           platform::cp1252::Ansi("Die Datei ist schreibgeschützt oder nicht beschreibbar. Beim "
                                  "nächsten Start steht das zuletzt gespeicherte Kürzel da.");
}

} // namespace tessaro::app
