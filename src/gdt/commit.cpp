#include "gdt/commit.h"

#include "gdt/claim.h"
#include "gdt/result_writer.h"
#include "platform/cp1252.h"
#include "platform/files.h"

#include <algorithm>
#include <array>
#include <new>
#include <optional>

namespace tessaro::gdt {
namespace {

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

// Windows takes these for devices in any folder, whatever follows the first
// dot and whatever the case; the superscript digits (Windows-1252 B9, B2, B3)
// count as digits there.
bool IsDeviceName(std::string_view id) {
    std::string base(id.substr(0, id.find('.')));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    std::transform(base.begin(), base.end(), base.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL")
        return true;
    if (base.size() != 4 || (base.rfind("COM", 0) != 0 && base.rfind("LPT", 0) != 0))
        return false;
    const char d = base[3];
    return (d >= '1' && d <= '9') || d == '\xB9' || d == '\xB2' || d == '\xB3';
}

std::string Line(const char* utf8) {
    return platform::cp1252::Ansi(utf8) + "\r\n";
}

std::string Beside(const std::string& path, const std::string& name) {
    const std::string folder = platform::FolderOf(path);
    return folder.empty() ? name : platform::Join(folder, name);
}

// Back under the name it came from; false when that cannot be done now (a
// newer request stands there, or the disk fails), in which case the claim
// stays for the next start to put back.
bool PutBack(const std::string& claimPath, const std::string& requestPath) {
    try {
        platform::RenameNoReplace(claimPath, requestPath);
        platform::SyncDirectory(platform::FolderOf(requestPath));
        return true;
    } catch (const platform::PlatformError&) {
        return false;
    }
}

std::string PutBackNote(bool back, const std::string& requestPath) {
    return back ? Line("Die Anforderung liegt wieder an ihrem Platz:") + requestPath + "\r\n"
                : Line("Die Anforderung wird beim nächsten Start an ihren Platz zurückgelegt:") +
                      requestPath + "\r\n";
}

const std::string kEnds = platform::cp1252::Ansi("Das Programm wird beendet.");

} // namespace

bool IsUsableLumeoId(std::string_view id) {
    for (const char ch : id)
        if (ch == '/' || ch == '\\' || IsControl(static_cast<unsigned char>(ch)) ||
            std::string_view(":*?\"<>|").find(ch) != std::string_view::npos)
            return false;
    if (!id.empty() && (id.back() == '.' || id.back() == ' '))
        return false;
    return !IsDeviceName(id);
}

std::string FailureText(const platform::PlatformError& error, const std::string& deliveredFile) {
    std::string text = platform::ErrorOccurredMessage(error, "\r\nFehler ") + "\r\n";
    if (!error.Detail().empty())
        text += "(" + error.Detail() + ")\r\n";
    if (!deliveredFile.empty())
        text += Line("Die Ergebnisdatei ist trotzdem zugestellt:") + deliveredFile + "\r\n" +
                Line("Die Untersuchung bitte nicht noch einmal übermitteln.");
    return text + kEnds;
}

CommitOutcome CommitRequest(const CommitInput& in, platform::OperatorMessages& messages) {
    if (in.requestText.empty()) {
        messages.ShowError(
            platform::cp1252::Ansi("Die Daten konnten nicht korrekt ausgelesen werden.") + "\r\n" +
            platform::cp1252::Ansi("Bitte starten Sie das Programm erneut."));
        return CommitOutcome::NoData;
    }
    if (!IsUsableLumeoId(in.settings.LumeoID)) {
        messages.ShowError(
            platform::cp1252::Ansi("Die Lumeo-ID \"") + Visible(in.settings.LumeoID) +
            platform::cp1252::Ansi(
                "\" kann nicht Teil eines Dateinamens sein: \"/\", \"\\\", \":\", \"*\", \"?\", "
                "\"\"\", \"<\", \">\", \"|\" und Steuerzeichen sind darin nicht erlaubt, ebenso "
                "ein Punkt oder Leerzeichen am Ende und Gerätenamen wie CON, PRN, AUX, NUL, "
                "COM1 bis COM9 und LPT1 bis LPT9.") +
            "\r\n" +
            platform::cp1252::Ansi(
                "Es wurde nichts geschrieben. Bitte die Lumeo-ID in den Einstellungen "
                "ändern."));
        return CommitOutcome::Kept;
    }
    if (!ResultFileCanBeWritten(in.settings, in.selectionCode, messages))
        return CommitOutcome::Kept; // nothing touched: the request stays, so does the window

    const std::string& requestPath = in.importedPath;
    const std::string requestFolder = platform::FolderOf(requestPath);
    Claim claim{platform::NameOf(requestPath), in.sequenceNumber, in.settings.LumeoID, false};
    std::string claimPath = Beside(requestPath, ClaimName(claim, in.workplace));
    const std::string finalName = FinalFileName(in.settings, in.sequenceNumber);

    // Taken away first: from here on no other workplace delivers it, a
    // withdrawn one is not delivered, and a newer request put at the path is
    // never touched.
    try {
        platform::RenameNoReplace(requestPath, claimPath);
    } catch (const platform::PlatformError& e) {
        if (e.Number() == static_cast<int>(platform::ErrorNumber::FileNotFound)) {
            messages.ShowError(
                Line("Die Anforderung ist nicht mehr da:") + requestPath + "\r\n" +
                Line("Sie wurde zurückgezogen oder an einem anderen Arbeitsplatz übernommen.") +
                Line("Es wurde nichts zugestellt.") + kEnds);
            return CommitOutcome::NotDelivered;
        }
        if (e.Number() == static_cast<int>(platform::ErrorNumber::PermissionDenied)) {
            messages.ShowError(
                Line("Die Anforderung darf nicht verschoben werden (Zugriff verweigert):") +
                requestPath + "\r\n" +
                Line("Es wurde nichts zugestellt; die Anforderung bleibt, wo sie ist.") +
                platform::cp1252::Ansi(
                    "Bitte die Rechte am Ordner der Anforderung prüfen lassen und erneut OK "
                    "drücken."));
            return CommitOutcome::Kept;
        }
        messages.ShowError(FailureText(e));
        return CommitOutcome::Failed;
    }

    enum class Stage { Claimed, Ready, Delivered } stage = Stage::Claimed;
    try {
        if (!platform::FileHoldsExactly(claimPath, in.requestText)) {
            const bool back = PutBack(claimPath, requestPath);
            messages.ShowError(
                Line("Die Anforderung wurde geändert, seit sie eingelesen wurde.") +
                Line("Es wurde nichts zugestellt.") + PutBackNote(back, requestPath) +
                Line("Bitte das Programm neu starten, um sie neu einzulesen.") + kEnds);
            return CommitOutcome::NotDelivered;
        }
        bool taken = false;
        std::optional<platform::OwnFile> temporary = [&]() -> std::optional<platform::OwnFile> {
            try {
                return WriteResultFile(in.settings, in.sequenceNumber, in.requestText,
                                       in.selectionCode, messages);
            } catch (const platform::PlatformError& e) {
                if (e.Number() != static_cast<int>(platform::ErrorNumber::FileExists))
                    throw;
                taken = true;
                return std::nullopt;
            }
        }();
        if (taken) {
            const bool back = PutBack(claimPath, requestPath);
            messages.ShowError(
                Line("Unter diesem Namen liegt schon eine Datei, die nicht von diesem Lauf "
                     "stammt:") +
                TemporaryFileName(in.settings, in.sequenceNumber) + "\r\n" +
                Line("Sie bleibt unberührt (vielleicht schreibt dort gerade ein anderer "
                     "Arbeitsplatz mit derselben Lumeo-ID).") +
                Line("Es wurde nichts zugestellt.") + PutBackNote(back, requestPath) +
                Line("Beim nächsten Start wird die nächste Nummer vergeben.") + kEnds);
            return CommitOutcome::NotDelivered;
        }
        if (!temporary) {
            // The folder went away after the look above: nothing written.
            PutBack(claimPath, requestPath);
            return CommitOutcome::Kept;
        }
        // Marked ready only once the .zzz is complete and synced, and that mark
        // made durable before the rename: from then on a .zzz that is gone has
        // certainly become the .gdt, which the next start relies on.
        claim.ready = true;
        const std::string readyPath = Beside(requestPath, ClaimName(claim, in.workplace));
        platform::RenameNoReplace(claimPath, readyPath);
        claimPath = readyPath;
        stage = Stage::Ready;
        platform::SyncDirectory(requestFolder);
        temporary->RenameNoReplace(finalName);
        stage = Stage::Delivered;
        temporary.reset(); // closed, so the receiving system may take it at once
        platform::SyncDirectory(in.settings.PathD);
        platform::RemoveFile(claimPath);
        return CommitOutcome::Done;
    } catch (const platform::PlatformError& e) {
        std::string text;
        if (stage == Stage::Delivered) {
            text = FailureText(e, finalName);
            text.insert(text.size() - kEnds.size(),
                        Line("Der Rest wird beim nächsten Start abgeschlossen."));
        } else {
            // Before the .gdt: the request goes back, so a next run can
            // deliver it. A ready mark is taken back first, since the .zzz
            // stays (as its name says, not delivered).
            bool back = true;
            if (stage == Stage::Ready) {
                claim.ready = false;
                const std::string unready = Beside(requestPath, ClaimName(claim, in.workplace));
                try {
                    platform::RenameNoReplace(claimPath, unready);
                    platform::SyncDirectory(requestFolder);
                    claimPath = unready;
                } catch (const platform::PlatformError&) {
                    back = false;
                }
            }
            back = back && PutBack(claimPath, requestPath);
            text = FailureText(e);
            text.insert(text.size() - kEnds.size(),
                        back ? Line("Es wurde nichts zugestellt; die Anforderung liegt wieder an "
                                    "ihrem Platz.")
                             : Line("Der unterbrochene Lauf wird beim nächsten Start "
                                    "abgeschlossen."));
        }
        messages.ShowError(text);
    } catch (const std::bad_alloc&) {
        messages.ShowError(FailureText(platform::PlatformError(platform::ErrorNumber::OutOfMemory),
                                       stage == Stage::Delivered ? finalName : std::string()));
    }
    return CommitOutcome::Failed;
}

} // namespace tessaro::gdt
