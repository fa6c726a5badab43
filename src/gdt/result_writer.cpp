#include "gdt/result_writer.h"

#include "gdt/gdt_line.h"

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

std::string ResultLine(const config::ProgramSettings& settings, const std::string& selectionCode) {
    return FormatGdtLine(settings.StudyDesc ? "6227" : "8411", selectionCode);
}

ResultRefusal ResultFileCanBeWritten(const config::ProgramSettings& settings,
                                     const std::string& selectionCode) {
    if (!platform::DirectoryExists(settings.PathD))
        return ResultRefusal::TargetFolderMissing;
    // Three digits of line length cannot describe a longer line; a cut code would
    // name a different examination, so nothing is written at all.
    if (selectionCode.size() > kMaxContentLength)
        return ResultRefusal::CodeTooLong;
    return ResultRefusal::None;
}

std::optional<platform::OwnFile> WriteResultFile(const config::ProgramSettings& settings,
                                                 std::int16_t sequenceNumber,
                                                 const std::string& requestText,
                                                 const std::string& selectionCode) {
    if (ResultFileCanBeWritten(settings, selectionCode) != ResultRefusal::None)
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
