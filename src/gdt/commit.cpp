#include "gdt/commit.h"

#include "gdt/result_writer.h"
#include "platform/codec.h"
#include "platform/files.h"

#include <new>

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

} // namespace

bool IsUsableLumeoId(std::string_view id) {
    for (const char ch : id)
        if (ch == '/' || ch == '\\' || IsControl(static_cast<unsigned char>(ch)))
            return false;
    return true;
}

std::string FailureText(const platform::PlatformError& error, const std::string& deliveredFile) {
    std::string text = platform::ErrorOccurredMessage(error, "\r\nFehler ") + "\r\n";
    if (!error.Detail().empty())
        text += "(" + error.Detail() + ")\r\n";
    if (!deliveredFile.empty())
        text += platform::cp1252::Ansi("Die Ergebnisdatei ist trotzdem zugestellt:") + "\r\n" +
                deliveredFile + "\r\n" +
                platform::cp1252::Ansi("Die Untersuchung bitte nicht noch einmal übermitteln.") +
                "\r\n";
    return text + platform::cp1252::Ansi("Das Programm wird beendet.");
}

CommitOutcome CommitRequest(const CommitInput& in, platform::MessageBox& messages) {
    if (in.requestText.empty()) {
        messages.ShowError(
            platform::cp1252::Ansi("Die Daten konnten nicht korrekt ausgelesen werden.") + "\r\n" +
            platform::cp1252::Ansi("Bitte starten Sie das Programm erneut."));
        return CommitOutcome::NoData;
    }
    if (!IsUsableLumeoId(in.settings.LumeoID)) {
        messages.ShowError(
            platform::cp1252::Ansi("Die Lumeo-ID \"") + Visible(in.settings.LumeoID) +
            platform::cp1252::Ansi("\" kann nicht Teil eines Dateinamens sein: \"/\", \"\\\" und "
                                   "Steuerzeichen sind darin nicht erlaubt.") +
            "\r\n" +
            platform::cp1252::Ansi(
                "Es wurde nichts geschrieben. Bitte die Lumeo-ID in den Einstellungen "
                "ändern."));
        return CommitOutcome::Kept;
    }
    const std::string finalName = FinalFileName(in.settings, in.sequenceNumber);
    bool delivered = false;
    try {
        if (!WriteResultFile(in.settings, in.sequenceNumber, in.requestText, in.selectionCode,
                             messages))
            return CommitOutcome::Kept; // no target file: the request stays, so does the window
        // Never replaces an existing .gdt; a missing .zzz fails here too, so the
        // request below is only deleted once its result is in place.
        platform::RenameNoReplace(TemporaryFileName(in.settings, in.sequenceNumber), finalName);
        delivered = true;
        platform::SyncDirectory(in.settings.PathD);
        // The practice system may have left its next request at the same path
        // meanwhile; only the bytes this run imported are done with. Reading
        // it also fails, as the delete would, when the file has gone.
        if (platform::FileHoldsExactly(in.importedPath, in.requestText))
            platform::DeleteFile(in.importedPath);
        return CommitOutcome::Done;
    } catch (const platform::PlatformError& e) {
        messages.ShowError(FailureText(e, delivered ? finalName : std::string()));
    } catch (const std::bad_alloc&) {
        messages.ShowError(FailureText(platform::PlatformError(platform::ErrorNumber::OutOfMemory),
                                       delivered ? finalName : std::string()));
    }
    return CommitOutcome::Failed;
}

} // namespace tessaro::gdt
