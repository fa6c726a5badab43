// Writes the file for the receiving system under its temporary ".zzz" name:
// the request text unchanged, then one line with the examination code.
#pragma once

#include <cstdint>
#include <string>

#include "config/settings_values.h"
#include "platform/message_box.h"

namespace tessaro::gdt {

// PathD "/" LumeoID "." number ".zzz" (or ".gdt").
std::string TemporaryFileName(const config::ProgramSettings& settings, std::int16_t sequenceNumber);
std::string FinalFileName(const config::ProgramSettings& settings, std::int16_t sequenceNumber);

// On return either the temporary file exists complete, synced and closed (result
// true), or a message has been shown and no file was created (result false: the
// target directory is missing, or the code is too long for one GDT line).
// Write failures throw platform::PlatformError for the commit to report.
bool WriteResultFile(const config::ProgramSettings& settings, std::int16_t sequenceNumber,
                     const std::string& requestText, const std::string& selectionCode,
                     platform::MessageBox& messages);

} // namespace tessaro::gdt
