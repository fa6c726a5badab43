// What the window says about a commit and about the recovery at start-up:
// every German text of the handover in one place, made from the reports the
// core returns. Windows-1252.
#pragma once

#include "gdt/handover_report.h"
#include "platform/errors.h"

#include <string>

namespace tessaro::app {

// The message for a commit's report; "" where nothing is to be said.
std::string CommitMessage(const gdt::CommitReport& report);

// The one message of the recovery; "" when nothing was interrupted.
std::string RecoveryMessage(const gdt::RecoveryReport& report);

// A failure that ends the program; with deliveredFile given it adds that this
// result file is in place all the same.
std::string FailureText(const platform::PlatformError& error,
                        const std::string& deliveredFile = {});

} // namespace tessaro::app
