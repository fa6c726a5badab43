// Every German text of the handover, the commit's and the recovery's, in one
// place: the same situation is said the same way by both. Windows-1252.
#pragma once

#include "platform/errors.h"

#include <string>

namespace tessaro::gdt::texts {

// The commit.
std::string NoData();
std::string LumeoIdRefused(const std::string& lumeoId);
std::string RequestGone(const std::string& requestPath);
std::string ClaimDenied(const std::string& requestPath);
std::string RequestInUse(const std::string& requestPath);
std::string RequestChanged(bool back, const std::string& requestPath);
std::string NameTaken(const std::string& temporaryPath, bool back, const std::string& requestPath);
// A failure that ends the program; with deliveredFile, that it is in place.
std::string Failure(const platform::PlatformError& error, const std::string& deliveredFile = {});
// A failure before the .gdt: the request back, or left for the next start.
std::string FailedBeforeDelivery(const platform::PlatformError& error, bool back);
// A failure once the .gdt is in place.
std::string FailedAfterDelivery(const platform::PlatformError& error, const std::string& finalPath);

// The recovery at start-up: one message, a header and a line for each
// interrupted commit.
std::string RecoveryMessage(bool allFinished, const std::string& lines);
std::string RecoveredDelivered(const std::string& finalPath);
std::string RecoveredBack(const std::string& requestPath);
std::string RecoveredRequestGone(const std::string& requestPath);
std::string RecoveredNameTaken(const std::string& finalPath, const std::string& requestPath);
std::string RecoveredNewerRequest(const std::string& requestPath, const std::string& claimPath);
std::string RecoveryUndecided(const std::string& pathD, const std::string& finalPath);
std::string RecoveryNotOurs(const std::string& path);
std::string RecoveryFailed(const platform::PlatformError& error);

} // namespace tessaro::gdt::texts
