#include "app/handover_messages.h"

#include "platform/cp1252.h"

namespace tessaro::app {
namespace {

using gdt::CommitSaid;
using gdt::RecoverySaid;

std::string Failure(const platform::PlatformError& error, const std::string& deliveredFile = {});

std::string Ansi(const char* utf8) {
    return platform::cp1252::Ansi(utf8);
}

std::string Line(const char* utf8) {
    return Ansi(utf8) + "\r\n";
}

const std::string kEnds = Ansi("Das Programm wird beendet.");

std::string PutBackNote(bool back, const std::string& requestPath) {
    return back ? Line("Die Anforderung liegt wieder an ihrem Platz:") + requestPath + "\r\n"
                : Line("Die Anforderung wird beim nächsten Start an ihren Platz zurückgelegt:") +
                      requestPath + "\r\n";
}

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

// The value as the message can show it: a control character as its code.
std::string Visible(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string shown;
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsControl(c))
            shown += std::string("<") + kHex[c >> 4] + kHex[c & 15] + ">";
        else
            shown += ch;
    }
    return shown;
}

// The failure's text with a note put before the closing sentence.
std::string FailureWith(const platform::PlatformError& error, const std::string& deliveredFile,
                        const std::string& note) {
    std::string text = Failure(error, deliveredFile);
    text.insert(text.size() - kEnds.size(), note);
    return text;
}

std::string NoData() {
    return Line("Die Daten konnten nicht korrekt ausgelesen werden.") +
           Ansi("Bitte starten Sie das Programm erneut.");
}

std::string LumeoIdRefused(const std::string& lumeoId) {
    return Ansi("Die Lumeo-ID \"") + Visible(lumeoId) +
           Ansi("\" kann nicht Teil eines Dateinamens sein: \"/\", \"\\\", \":\", \"*\", \"?\", "
                "\"\"\", \"<\", \">\", \"|\" und Steuerzeichen sind darin nicht erlaubt, ebenso "
                "ein Punkt oder Leerzeichen am Ende und Gerätenamen wie CON, PRN, AUX, NUL, "
                "COM1 bis COM9 und LPT1 bis LPT9.") +
           "\r\n" +
           Ansi("Es wurde nichts geschrieben. Bitte die Lumeo-ID in den Einstellungen ändern.");
}

std::string RequestGone(const std::string& requestPath) {
    return Line("Die Anforderung ist nicht mehr da:") + requestPath + "\r\n" +
           Line("Sie wurde zurückgezogen oder an einem anderen Arbeitsplatz übernommen.") +
           Line("Es wurde nichts zugestellt.") + kEnds;
}

std::string ClaimDenied(const std::string& requestPath) {
    return Line("Die Anforderung darf nicht verschoben werden (Zugriff verweigert):") +
           requestPath + "\r\n" +
           Line("Es wurde nichts zugestellt; die Anforderung bleibt, wo sie ist.") +
           Ansi("Bitte die Rechte am Ordner der Anforderung prüfen lassen und erneut OK drücken.");
}

std::string RequestInUse(const std::string& requestPath) {
    return Line("Die Anforderung ist gerade von einem anderen Programm geöffnet (etwa vom "
                "Praxisprogramm, das sie noch schreibt, oder von einem Virenscanner):") +
           requestPath + "\r\n" +
           Line("Es wurde nichts zugestellt; die Anforderung bleibt, wo sie ist.") +
           Ansi("Bitte einen Augenblick warten und erneut OK drücken.");
}

std::string RequestChanged(bool back, const std::string& requestPath) {
    return Line("Die Anforderung wurde geändert, seit sie eingelesen wurde.") +
           Line("Es wurde nichts zugestellt.") + PutBackNote(back, requestPath) +
           Line("Bitte das Programm neu starten, um sie neu einzulesen.") + kEnds;
}

std::string NameTaken(const std::string& temporaryPath, bool back, const std::string& requestPath) {
    return Line("Unter diesem Namen liegt schon eine Datei, die nicht von diesem Lauf stammt:") +
           temporaryPath + "\r\n" +
           Line("Sie bleibt unberührt (vielleicht schreibt dort gerade ein anderer Arbeitsplatz "
                "mit derselben Lumeo-ID).") +
           Line("Es wurde nichts zugestellt.") + PutBackNote(back, requestPath) +
           Line("Beim nächsten Start wird die nächste Nummer vergeben.") + kEnds;
}

std::string Failure(const platform::PlatformError& error, const std::string& deliveredFile) {
    std::string text = platform::ErrorOccurredMessage(error, "\r\nFehler ") + "\r\n";
    if (!error.Detail().empty())
        text += "(" + error.Detail() + ")\r\n";
    if (!deliveredFile.empty())
        text += Line("Die Ergebnisdatei ist trotzdem zugestellt:") + deliveredFile + "\r\n" +
                Line("Die Untersuchung bitte nicht noch einmal übermitteln.");
    return text + kEnds;
}

std::string FailedBeforeDelivery(const platform::PlatformError& error, bool back) {
    return FailureWith(
        error, {},
        back ? Line("Es wurde nichts zugestellt; die Anforderung liegt wieder an ihrem Platz.")
             : Line("Der unterbrochene Lauf wird beim nächsten Start abgeschlossen."));
}

std::string FailedAfterDelivery(const platform::PlatformError& error,
                                const std::string& finalPath) {
    return FailureWith(error, finalPath, Line("Der Rest wird beim nächsten Start abgeschlossen."));
}

std::string RecoveryHeaderAnd(bool allFinished, const std::string& lines) {
    return (allFinished ? Ansi("Ein früherer Lauf wurde unterbrochen (etwa durch einen Absturz "
                               "oder Stromausfall). Beim Start wurde er bereinigt:")
                        : Ansi("Ein früherer Lauf wurde unterbrochen (etwa durch einen Absturz "
                               "oder Stromausfall). Er ist noch nicht abgeschlossen:")) +
           lines;
}

std::string RecoveredDelivered(const std::string& finalPath) {
    return Ansi("Zugestellt als ") + finalPath + Ansi("; der Lauf wurde abgeschlossen.");
}

std::string RecoveredBack(const std::string& requestPath) {
    return Ansi("Nicht zugestellt; die Anforderung liegt wieder an ihrem Platz: ") + requestPath;
}

std::string RecoveredRequestGone(const std::string& requestPath) {
    return Ansi("Nicht zugestellt; die Anforderung ist nicht mehr da: ") + requestPath;
}

std::string RecoveredNameTaken(const std::string& finalPath, const std::string& requestPath) {
    return Ansi("Nicht zugestellt, weil der Name schon vergeben ist: ") + finalPath + "\r\n" +
           Ansi("Die Anforderung liegt wieder an ihrem Platz: ") + requestPath;
}

std::string RecoveredNewerRequest(const std::string& requestPath, const std::string& claimPath) {
    return Ansi("Nicht zugestellt. Unter ") + requestPath +
           Ansi(" liegt schon eine neue Anforderung; die unterbrochene bleibt als ") + claimPath +
           Ansi(" und wird beim nächsten Start zurückgelegt.");
}

std::string RecoveryUndecided(const std::string& pathD, const std::string& finalPath) {
    return Ansi("Noch nicht entschieden: Der Zielordner ") + pathD +
           Ansi(" ist nicht erreichbar oder nicht mehr derselbe Ordner wie beim Schreiben (etwa "
                "ein Netzlaufwerk, das noch nicht verbunden ist). Ob ") +
           finalPath +
           Ansi(" zugestellt wurde, lässt sich so nicht sagen. Es wurde nichts verändert; beim "
                "nächsten Start wird es erneut geprüft.");
}

std::string RecoveryNotOurs(const std::string& path) {
    return Ansi("Nicht angefasst: ") + path +
           Ansi(" ist keine Datei dieses Programms (ein Link oder die Datei eines anderen "
                "Benutzers). Es wurde nichts zugestellt.");
}

std::string RecoveryFailed(const platform::PlatformError& error) {
    std::string line = platform::ErrorOccurredMessage(error, "\r\nFehler ");
    if (!error.Detail().empty())
        line += " (" + error.Detail() + ")";
    return line + "\r\n" + Ansi("Beim nächsten Start wird es erneut versucht.");
}

std::string TargetFolderMissing(const std::string& pathD) {
    return Ansi("Zielverzeichnis nicht gefunden.") + "\r\n" +
           (pathD.empty() ? Ansi("(In den Einstellungen ist keines eingetragen.)") : pathD);
}

std::string CodeTooLong() {
    return Ansi("Der Untersuchungscode ist zu lang für eine GDT-Zeile (höchstens 990 Zeichen). "
                "Es wurde keine Datei geschrieben.");
}

std::string RecoveryLineText(const gdt::RecoveryLine& line) {
    switch (line.said) {
    case RecoverySaid::Delivered:
        return RecoveredDelivered(line.path);
    case RecoverySaid::Back:
        return RecoveredBack(line.path);
    case RecoverySaid::RequestGone:
        return RecoveredRequestGone(line.path);
    case RecoverySaid::NameTaken:
        return RecoveredNameTaken(line.path, line.second);
    case RecoverySaid::NewerRequest:
        return RecoveredNewerRequest(line.path, line.second);
    case RecoverySaid::Undecided:
        return RecoveryUndecided(line.path, line.second);
    case RecoverySaid::NotOurs:
        return RecoveryNotOurs(line.path);
    case RecoverySaid::Failed:
        break;
    }
    return RecoveryFailed(
        line.error.value_or(platform::PlatformError(platform::ErrorNumber::DeviceIo)));
}

} // namespace

std::string FailureText(const platform::PlatformError& error, const std::string& deliveredFile) {
    return Failure(error, deliveredFile);
}

std::string CommitMessage(const gdt::CommitReport& r) {
    const platform::PlatformError error =
        r.error.value_or(platform::PlatformError(platform::ErrorNumber::DeviceIo));
    switch (r.said) {
    case CommitSaid::Nothing:
        return {};
    case CommitSaid::NoData:
        return NoData();
    case CommitSaid::LumeoIdRefused:
        return LumeoIdRefused(r.path);
    case CommitSaid::TargetFolderMissing:
        return TargetFolderMissing(r.path);
    case CommitSaid::CodeTooLong:
        return CodeTooLong();
    case CommitSaid::RequestGone:
        return RequestGone(r.path);
    case CommitSaid::ClaimDenied:
        return ClaimDenied(r.path);
    case CommitSaid::RequestInUse:
        return RequestInUse(r.path);
    case CommitSaid::RequestChanged:
        return RequestChanged(r.back, r.path);
    case CommitSaid::NameTaken:
        return NameTaken(r.path, r.back, r.second);
    case CommitSaid::Failure:
        return Failure(error);
    case CommitSaid::FailedBeforeDelivery:
        return FailedBeforeDelivery(error, r.back);
    case CommitSaid::FailedAfterDelivery:
        return FailedAfterDelivery(error, r.path);
    }
    return {};
}

std::string RecoveryMessage(const gdt::RecoveryReport& report) {
    if (report.lines.empty())
        return {};
    std::string lines;
    for (const gdt::RecoveryLine& line : report.lines)
        lines += "\r\n" + RecoveryLineText(line);
    return RecoveryHeaderAnd(report.allFinished, lines);
}

} // namespace tessaro::app
