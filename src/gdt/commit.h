// The commit of a request, apart from any window: the target file written and
// put in place under its final name, then the request deleted. The window
// only turns the outcome into closing, ending or staying open.
#pragma once

#include "config/settings_values.h"
#include "platform/errors.h"
#include "platform/message_box.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaro::gdt {

struct CommitInput {
    const config::ProgramSettings& settings; // the values at the moment of the press
    std::int16_t sequenceNumber;
    const std::string& requestText;
    const std::string& selectionCode;
    const std::string& importedPath; // the file the request came from
};

enum class CommitOutcome {
    Done,   // the .gdt is in place, the request deleted (a newer one at its path is kept)
    NoData, // nothing was imported; the program is to end at once, without unload
    Kept,   // nothing was written and a message said why; request and window stay
    Failed, // a message named the failure; the program is to end with an error
};

// Runs the whole commit; every message goes through messages. A failure once
// the .gdt is in place says so and names the file, so that nobody orders the
// examination again.
CommitOutcome CommitRequest(const CommitInput& input, platform::MessageBox& messages);

// A Lumeo ID is joined into the file name as it stands: "/" or "\" would lead
// out of the target folder, and a control character has no place in a name.
bool IsUsableLumeoId(std::string_view id);

// The message for a failure that ends the program, Windows-1252; with
// deliveredFile given it adds that this result file is in place all the same.
std::string FailureText(const platform::PlatformError& error,
                        const std::string& deliveredFile = {});

} // namespace tessaro::gdt
