// Tessaro: one request per run, from the practice system's GDT file to the
// file for the imaging system.
#include "app/environment.h"
#include "app/frm_main.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "platform/running_instance.h"
#include "ui/app_icon.h"
#include "ui/fonts.h"
#include "ui/qt_folder_chooser.h"
#include "ui/qt_message_box.h"
#include "ui/shown_text_log.h"
#include "ui/text.h"
#include "ui/translations.h"

#include <QApplication>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    using namespace tessaro;

    // A second instance ends before anything else: no window, no display
    // connection, nothing read or written.
    std::string programDirectory;
    try {
        programDirectory = platform::ProgramDirectory();
    } catch (const platform::PlatformError& e) {
        std::fprintf(stderr, "tessaro: %s\n", e.what());
        return app::kExitFailure;
    }
    platform::InstanceLock lock(programDirectory);
    if (lock.AnotherInstanceRunning()) {
        // Nothing of its own: the operator is shown the one already open.
        platform::BringRunningInstanceForward();
        return app::kExitOk;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(ui::AppTitle());
    QApplication::setWindowIcon(ui::AppIcon());
    QApplication::setFont(ui::Tahoma(8.25));
    ui::LoadToolkitTranslations(application, ui::ToolkitTranslationFolders());
    ui::InstallShownTextLogIfWanted(application);

    ui::QtMessageBox messages;
    // Unlocked, a second start could deliver the same request again.
    if (!lock.Held()) {
        messages.ShowError(lock.Failure());
        return app::kExitFailure;
    }
    ui::QtFolderChooser folders(messages);
    bool ended = false;
    int status = app::kExitOk;
    // The lock is held from here to the end: only its holder writes the record.
    app::FrmMain window(app::Environment{programDirectory, messages, folders, lock, [&](int s) {
                                             ended = true;
                                             status = s;
                                             QCoreApplication::exit(s);
                                         }});
    if (!window.Form_Load() || ended)
        return status;
    window.show();
    const int loopStatus = QApplication::exec();
    return ended ? status : loopStatus;
}
