// Writes the file for the receiving system under its temporary ".zzz" name:
// the request text unchanged, then one line with the examination code.
#pragma once

#include "config/settings_values.h"
#include "platform/files.h"
#include "platform/message_box.h"

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

// "Zielverzeichnis nicht gefunden.", and on a second line the folder looked for.
std::string TargetFolderMissing(const std::string& pathD);

// The one line that follows the request in the result ("" for no code).
std::string ResultLine(const config::ProgramSettings& settings, const std::string& selectionCode);

// True when a result file may be written at all; otherwise a message has been
// shown (the target directory is missing, or the code is too long for one GDT
// line) and nothing is to be touched.
bool ResultFileCanBeWritten(const config::ProgramSettings& settings,
                            const std::string& selectionCode, platform::OperatorMessages& messages);

// With ResultFileCanBeWritten true, the temporary file created exclusively,
// written complete and synced, and still open (nullopt, with the message
// shown, otherwise). A name already taken by anyone's file is left alone and
// throws platform::PlatformError (FileExists); write failures throw too.
std::optional<platform::OwnFile> WriteResultFile(const config::ProgramSettings& settings,
                                                 std::int16_t sequenceNumber,
                                                 const std::string& requestText,
                                                 const std::string& selectionCode,
                                                 platform::OperatorMessages& messages);

} // namespace tessaro::gdt
