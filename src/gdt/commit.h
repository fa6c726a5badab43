// The commit of a request, apart from any window, in stages: what it will do
// written down, the request claimed, the target file written and marked
// ready, put in place under its final name, then the claim and the record
// removed. The window only turns the outcome into closing, ending or staying
// open.
#pragma once

#include "config/settings_values.h"
#include "gdt/handover_report.h"
#include "platform/errors.h"
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

// Runs the whole commit and reports what the window is to say. Before any file
// is touched the commit is written down in the record, so that a crash at any
// point is finished or undone by the next start. The request is then taken
// away from its path under a claim of this run, so that no one else delivers
// it and a newer request put there meanwhile stays untouched; only the bytes
// that were imported are delivered. A failure once the .gdt is in place says
// so and names the file, so that nobody orders the examination again; the
// next start finishes what is left.
CommitReport CommitRequest(const CommitInput& input);

// A Lumeo ID is joined into the file name as it stands: "/" or "\" would lead
// out of the target folder, a control character has no place in a name, and
// what Windows cannot hold in a name (: * ? " < > |, a dot or blank at the
// end, a device name such as CON or COM1) would fail or go astray there,
// also on a Windows share mounted elsewhere.
bool IsUsableLumeoId(std::string_view id);

} // namespace tessaro::gdt
