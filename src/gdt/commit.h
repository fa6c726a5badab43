// The commit of a request, apart from any window, in stages: what it will do
// written down, the request claimed, the target file written and marked
// ready, put in place under its final name, then the claim and the record
// removed. The window only turns the outcome into closing, ending or staying
// open.
#pragma once

#include "config/settings_values.h"
#include "platform/errors.h"
#include "platform/message_box.h"
#include "platform/record_store.h"

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
    platform::RecordStore& record;   // where the commit in flight is written down
};

enum class CommitOutcome {
    Done,         // the .gdt is in place, the request taken away
    NoData,       // nothing was imported; the program is to end at once, without unload
    Kept,         // nothing was touched and a message said why; request and window stay
    NotDelivered, // a message said why nothing was delivered (the request gone, changed,
                  // or the result's name taken); the program is to end with an error
    Failed,       // a message named the failure; the program is to end with an error
};

// Runs the whole commit; every message goes through messages. Before any file
// is touched the commit is written down in the record, so that a crash at any
// point is finished or undone by the next start. The request is then taken
// away from its path under a claim of this run, so that no one else delivers
// it and a newer request put there meanwhile stays untouched; only the bytes
// that were imported are delivered. A failure once the .gdt is in place says
// so and names the file, so that nobody orders the examination again; the
// next start finishes what is left.
CommitOutcome CommitRequest(const CommitInput& input, platform::OperatorMessages& messages);

// A Lumeo ID is joined into the file name as it stands: "/" or "\" would lead
// out of the target folder, a control character has no place in a name, and
// what Windows cannot hold in a name (: * ? " < > |, a dot or blank at the
// end, a device name such as CON or COM1) would fail or go astray there,
// also on a Windows share mounted elsewhere.
bool IsUsableLumeoId(std::string_view id);

// The message for a failure that ends the program, Windows-1252; with
// deliveredFile given it adds that this result file is in place all the same.
std::string FailureText(const platform::PlatformError& error,
                        const std::string& deliveredFile = {});

} // namespace tessaro::gdt
