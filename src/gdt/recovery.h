// At start-up, before anything touches the request: what a commit of this
// workplace left when it was cut short (a crash, a kill, a power loss) is
// finished or undone, decided by the claim's mark alone.
#pragma once

#include "config/settings_values.h"
#include "platform/message_box.h"

#include <string>

namespace tessaro::gdt {

// For every claim of this workplace beside PathS: a ready claim whose .zzz is
// gone was delivered, and only the claim is removed; a ready claim whose .zzz
// is still there is delivered now; a claim not yet ready was not delivered,
// its own .zzz is removed and the request put back. One message tells the
// operator what was done; none when there was nothing. A failure is reported
// in that message and left for the next start, which tries again.
void RecoverInterruptedCommits(const config::ProgramSettings& settings,
                               const std::string& workplace, platform::OperatorMessages& messages);

} // namespace tessaro::gdt
