#include "gdt/result_writer.h"

#include "gdt/gdt_line.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace tessaro::gdt {
namespace {

std::string FileName(const config::ProgramSettings& settings, std::int16_t sequenceNumber,
                     const char* extension) {
    return platform::Join(settings.PathD,
                    settings.LumeoID + "." + std::to_string(sequenceNumber) + extension);
}

} // namespace

std::string TemporaryFileName(const config::ProgramSettings& settings, std::int16_t sequenceNumber) {
    return FileName(settings, sequenceNumber, ".zzz");
}

std::string FinalFileName(const config::ProgramSettings& settings, std::int16_t sequenceNumber) {
    return FileName(settings, sequenceNumber, ".gdt");
}

bool WriteResultFile(const config::ProgramSettings& settings, std::int16_t sequenceNumber,
                     const std::string& requestText, const std::string& selectionCode,
                     platform::MessageBox& messages) {
    if (!platform::DirectoryExists(settings.PathD)) {
        messages.ShowError(platform::cp1252::Ansi("Zielverzeichnis nicht gefunden."));
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
    const char* field = settings.StudyDesc ? "6227" : "8411";
    platform::WriteWholeFile(TemporaryFileName(settings, sequenceNumber),
                       requestText + FormatGdtLine(field, selectionCode));
    return true;
}

} // namespace tessaro::gdt
