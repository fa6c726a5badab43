// What the commit and the recovery report, for the window to word: what
// happened, the failure if there was one, and the files concerned. The core
// decides; src/app/handover_messages.h says it in German.
#pragma once

#include "platform/errors.h"

#include <optional>
#include <string>
#include <vector>

namespace tessaro::gdt {

enum class CommitOutcome {
    Done,         // the .gdt is in place, the request taken away
    NoData,       // nothing was imported; the program is to end at once, without unload
    Kept,         // nothing was touched and the report says why; request and window stay
    NotDelivered, // nothing was delivered (the request gone, changed, or the result's
                  // name taken); the program is to end with an error
    Failed,       // a failure; the program is to end with an error
};

// What the operator is to be told about a commit.
enum class CommitSaid {
    Nothing,
    NoData,               // value: -
    LumeoIdRefused,       // value: the Lumeo ID
    TargetFolderMissing,  // path: PathD
    CodeTooLong,          // -
    RequestGone,          // path: the request
    ClaimDenied,          // path: the request
    RequestInUse,         // path: the request
    RequestChanged,       // path: the request; back
    NameTaken,            // path: the .zzz; second: the request; back
    Failure,              // error
    FailedBeforeDelivery, // error; back
    FailedAfterDelivery,  // error; path: the .gdt
};

struct CommitReport {
    CommitOutcome outcome = CommitOutcome::Failed;
    CommitSaid said = CommitSaid::Nothing;
    std::optional<platform::PlatformError> error;
    std::string path;
    std::string second;
    bool back = false; // the request is at its place again
};

// What the operator is to be told about one interrupted commit.
enum class RecoverySaid {
    Delivered,    // path: the .gdt
    Back,         // path: the request
    RequestGone,  // path: the request
    NameTaken,    // path: the .gdt; second: the request
    NewerRequest, // path: the request; second: the claim
    Undecided,    // path: PathD; second: the .gdt
    NotOurs,      // path: the file that is not ours
    Failed,       // error
};

struct RecoveryLine {
    RecoverySaid said = RecoverySaid::Failed;
    std::string path;
    std::string second;
    std::optional<platform::PlatformError> error;
};

// Empty lines: nothing was interrupted, nothing to say.
struct RecoveryReport {
    std::vector<RecoveryLine> lines;
    bool allFinished = true; // else something waits for the next start
};

} // namespace tessaro::gdt
