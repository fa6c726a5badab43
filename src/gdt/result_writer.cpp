#include "gdt/result_writer.h"

#include "gdt/gdt_line.h"
#include "platform/cp1252.h"

namespace tessaro::gdt {

std::string ResultFileName(const std::string& pathD, const std::string& lumeoId,
                           std::int16_t sequenceNumber, const char* extension) {
    return platform::Join(pathD, lumeoId + "." + std::to_string(sequenceNumber) + extension);
}

std::string TemporaryFileName(const config::ProgramSettings& settings,
                              std::int16_t sequenceNumber) {
    return ResultFileName(settings.PathD, settings.LumeoID, sequenceNumber, ".zzz");
}

std::string FinalFileName(const config::ProgramSettings& settings, std::int16_t sequenceNumber) {
    return ResultFileName(settings.PathD, settings.LumeoID, sequenceNumber, ".gdt");
}

std::string TargetFolderMissing(const std::string& pathD) {
    return platform::cp1252::Ansi("Zielverzeichnis nicht gefunden.") + "\r\n" +
           (pathD.empty() ? platform::cp1252::Ansi("(In den Einstellungen ist keines eingetragen.)")
                          : pathD);
}

std::string ResultLine(const config::ProgramSettings& settings, const std::string& selectionCode) {
    return FormatGdtLine(settings.StudyDesc ? "6227" : "8411", selectionCode);
}

bool ResultFileCanBeWritten(const config::ProgramSettings& settings,
                            const std::string& selectionCode,
                            platform::OperatorMessages& messages) {
    if (!platform::DirectoryExists(settings.PathD)) {
        messages.ShowError(TargetFolderMissing(settings.PathD));
        return false;
    }
    // Three digits of line length cannot describe a longer line; a cut code would
    // name a different examination, so nothing is written at all.
    if (selectionCode.size() > kMaxContentLength) {
        messages.ShowError(platform::cp1252::Ansi(
            "Der Untersuchungscode ist zu lang für eine GDT-Zeile (höchstens 990 Zeichen). "
            "Es wurde keine Datei geschrieben."));
        return false;
    }
    return true;
}

std::optional<platform::OwnFile> WriteResultFile(const config::ProgramSettings& settings,
                                                 std::int16_t sequenceNumber,
                                                 const std::string& requestText,
                                                 const std::string& selectionCode,
                                                 platform::OperatorMessages& messages) {
    if (!ResultFileCanBeWritten(settings, selectionCode, messages))
        return std::nullopt;
    // Written in two pieces: joined first, a large request would be held twice.
    const std::string line = ResultLine(settings, selectionCode);
    std::optional<platform::OwnFile> file(std::in_place,
                                          TemporaryFileName(settings, sequenceNumber));
    try {
        file->Write({requestText, line});
    } catch (...) {
        file->Remove(); // a cut file of ours is of no use to anyone
        throw;
    }
    return file;
}

} // namespace tessaro::gdt
