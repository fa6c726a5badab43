// The commit of a request: the target file written and put in place, then the
// request deleted, then the window unloaded.
#include "app/frm_main.h"
#include "gdt/result_writer.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace tessaro::app {

void FrmMain::cmdOK_Click() {
    if (ended_)
        return;
    if (requestText_.empty()) {
        env_.messages.ShowError(platform::cp1252::Ansi("Die Daten konnten nicht korrekt ausgelesen werden.") +
                                "\r\n" + platform::cp1252::Ansi("Bitte starten Sie das Programm erneut."));
        EndProgram(kExitNoData);
        return;
    }
    bool written = false;
    const bool done = Guarded([&] {
        // Settings changed in the settings window since start-up apply here.
        written = gdt::WriteResultFile(values_, sequenceNumber_, requestText_, selectionCode_,
                                       env_.messages);
        if (!written)
            return; // no target file: the request stays, the window stays open
        // Never replaces an existing .gdt; a missing .zzz fails here too, so the
        // request below is only deleted once its result is in place.
        platform::RenameNoReplace(gdt::TemporaryFileName(values_, sequenceNumber_),
                            gdt::FinalFileName(values_, sequenceNumber_));
        // The practice system may have left its next request at the same path
        // meanwhile; only the bytes this run imported are done with. Reading
        // it also fails, as the delete would, when the file has gone.
        if (platform::ReadWholeFile(importedPath_) == requestText_)
            platform::DeleteFile(importedPath_);
    });
    if (done && written)
        close(); // the unload saves the short code and ends the program
}

} // namespace tessaro::app
