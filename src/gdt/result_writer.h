// Writes the file for the receiving system under its temporary ".zzz" name:
// the request text unchanged, then one line with the examination code.
#pragma once

#include "config/settings_values.h"
#include "platform/files.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tessaro::gdt {

// PathD "/" LumeoID "." number ".zzz" (or ".gdt").
std::string TemporaryFileName(const config::ProgramSettings& settings, std::int16_t sequenceNumber);
std::string FinalFileName(const config::ProgramSettings& settings, std::int16_t sequenceNumber);
// The same for a Lumeo ID and number of another run (extension ".zzz" or ".gdt").
std::string ResultFileName(const std::string& pathD, const std::string& lumeoId,
                           std::int16_t sequenceNumber, const char* extension);

// Longest line FormatGdtLine builds: three digits of length.
inline constexpr std::size_t kMaxLineBytes = 999;

// The one line that follows the request in the result ("" for no code).
std::string ResultLine(const config::ProgramSettings& settings, const std::string& selectionCode);

// Why no result file may be written, where one may not: the target directory
// is missing, or the code is too long for one GDT line. Nothing is to be
// touched then; the window says why.
enum class ResultRefusal { None, TargetFolderMissing, CodeTooLong };
ResultRefusal ResultFileCanBeWritten(const config::ProgramSettings& settings,
                                     const std::string& selectionCode);

// Where ResultFileCanBeWritten refuses nothing, the temporary file created
// exclusively, written complete and synced, and still open (nullopt otherwise). A name already
// taken by anyone's file is left alone and throws platform::PlatformError (FileExists); write
// failures throw too.
std::optional<platform::OwnFile> WriteResultFile(const config::ProgramSettings& settings,
                                                 std::int16_t sequenceNumber,
                                                 const std::string& requestText,
                                                 const std::string& selectionCode);

} // namespace tessaro::gdt
