// OK: the commit itself is gdt::CommitRequest; the window says what it
// reports, then closes, ends or stays open as its outcome says.
#include "app/frm_main.h"
#include "app/handover_messages.h"
#include "gdt/commit.h"

namespace tessaro::app {

void FrmMain::cmdOK_Click() {
    gdt::CommitReport report;
    // Settings changed in the settings window since start-up apply here.
    if (!Guarded([&] {
            report = gdt::CommitRequest(gdt::CommitInput{settings_.Values(), sequenceNumber_,
                                                         requestText_, selectionCode_,
                                                         importedPath_, env_.record});
        }))
        return;
    if (const std::string text = CommitMessage(report); !text.empty())
        env_.messages.ShowError(text);
    switch (report.outcome) {
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
