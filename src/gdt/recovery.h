// At start-up, before anything touches the request: what a commit left when it
// was cut short (a crash, a kill, a power loss) is finished or undone, from
// the record it wrote before it began and from nothing else.
#pragma once

#include "gdt/handover_report.h"
#include "platform/record_store.h"

namespace tessaro::gdt {

// For each commit in the record: delivered is concluded only from evidence
// (the .gdt holding the run's bytes, or the target folder there, the same
// folder as at the commit, and the complete .zzz gone from it); a ready .zzz
// still there is delivered now; one not yet ready is removed and the request
// put back. Where the target folder is away or another one, nothing is
// changed and the entry is kept for the next start. Only files this program
// made are touched, never through a link. The report has a line for each
// commit in the record, none when it is empty. Nothing else is looked at, so
// a request folder that may not be listed is no obstacle.
RecoveryReport RecoverInterruptedCommits(platform::RecordStore& record);

} // namespace tessaro::gdt
