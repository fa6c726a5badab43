// OK: the commit itself is gdt::CommitRequest; the window closes, ends or
// stays open as its outcome says.
#include "app/frm_main.h"
#include "gdt/commit.h"

namespace tessaro::app {

void FrmMain::cmdOK_Click() {
    auto outcome = gdt::CommitOutcome::Kept;
    // Settings changed in the settings window since start-up apply here.
    if (!Guarded([&] {
            outcome = gdt::CommitRequest(gdt::CommitInput{settings_.Values(), sequenceNumber_,
                                                          requestText_, selectionCode_,
                                                          importedPath_, env_.record},
                                         env_.messages);
        }))
        return;
    switch (outcome) {
    case gdt::CommitOutcome::Done:
        close(); // the unload saves the short code and ends the program
        break;
    case gdt::CommitOutcome::NoData:
        EndProgram(kExitNoData);
        break;
    case gdt::CommitOutcome::NotDelivered:
    case gdt::CommitOutcome::Failed:
        EndProgram(kExitFailure);
        break;
    case gdt::CommitOutcome::Kept:
        break;
    }
}

} // namespace tessaro::app
