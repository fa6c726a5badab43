// Start-up and shutdown of the main window.
#include "app/frm_main.h"
#include "app/handover_messages.h"
#include "app/startup_messages.h"
#include "config/settings_store.h"
#include "gdt/recovery.h"
#include "gdt/request_import.h"
#include "gdt/sequence_counter.h"
#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "ui/examination_button.h"
#include "ui/text.h"
#include "ui/text_box.h"

#include <QLabel>

namespace tessaro::app {

bool FrmMain::Form_Load() {
    for (std::size_t i = 0; i < panelBytes_.size(); ++i)
        panelBytes_[i] = gdt::kInitialPanelTexts[i];
    return Guarded([&] {
        DisableCodelessQuickButtons();
        LoadSettingsIntoWindow();
        LoadManualButtons();
        RecoverInterruptedCommit();
        ImportRequest();
        RenderPatient();
        const gdt::DrawnNumber drawn = gdt::NextSequenceNumber(env_.programDirectory);
        sequenceNumber_ = drawn.number;
        if (const std::string text = CounterMessage(drawn); !text.empty())
            env_.messages.ShowError(text);
        // Filling the modality has run the OK rule only when the stored
        // modality was non-empty; with an empty one OK would stay enabled and
        // commit a request without any examination. So the rule is applied
        // once here, whatever start-up changed.
        ApplyOkRule();
    });
}

// Exactly the catalogue entries without a code; index 57 is the last entry
// and, having a code, stays enabled like every other coded one.
void FrmMain::DisableCodelessQuickButtons() {
    for (const selection::catalogue::Entry& e : selection::catalogue::Entries())
        if (!selection::catalogue::EnabledAtStart(e))
            w_.cmdQB[static_cast<std::size_t>(e.index)]->setEnabled(false);
}

void FrmMain::LoadSettingsIntoWindow() {
    const config::StartupValues loaded = settings_.Load();
    for (const std::string& text : SettingsMessages(loaded))
        env_.messages.ShowError(text);
    w_.txtShort->setText(ui::FromAnsi(loaded.shortCode));
    w_.txtMod->setText(ui::FromAnsi(loaded.modality));
}

void FrmMain::LoadManualButtons() {
    const std::string file = platform::Join(env_.programDirectory, selection::manual::kFileName);
    std::string bytes;
    bool manual = settings_.Values().Manual && platform::FileExists(file);
    if (manual) {
        try {
            bytes = platform::ReadWholeFile(file, selection::manual::kMaxFileBytes);
        } catch (const platform::FileTooLarge&) {
            // The catalogue serves the operator better than an empty panel.
            env_.messages.ShowError(platform::cp1252::Ansi(
                "Die Datei Bodypart.dat ist größer als 1 MB und wird nicht gelesen. Es werden "
                "die festen Untersuchungen angezeigt."));
            manual = false; // the setting itself stays as stored
        }
    }
    if (!manual) {
        w_.picManual->hide();
        w_.picNoManual->show();
        return;
    }
    w_.picNoManual->hide();
    w_.picManual->show();
    manualButtons_ = selection::manual::ParseManualButtons(bytes);
    for (std::size_t i = 0; i < manualButtons_.size(); ++i) {
        if (!manualButtons_[i].visible)
            continue;
        w_.cmdManual[i]->setText(ui::LiteralCaption(ui::FromAnsi(manualButtons_[i].caption)));
        w_.cmdManual[i]->show();
    }
}

// Before anything touches the request: what an interrupted commit left is
// finished or undone from its record, so the request is offered again or
// known as delivered.
void FrmMain::RecoverInterruptedCommit() {
    if (const std::string text = RecoveryMessage(gdt::RecoverInterruptedCommits(env_.record));
        !text.empty())
        env_.messages.ShowError(text);
}

void FrmMain::ImportRequest() {
    // A link another account put there would hand its files to the target
    // folder under the operator's name: it counts as no request.
    if (!platform::FileExists(settings_.Values().PathS) ||
        platform::IsForeignLink(settings_.Values().PathS))
        return;
    // The commit deletes this file, even if PathS is changed in the meantime.
    importedPath_ = settings_.Values().PathS;
    gdt::ImportResult imported = gdt::ReadRequestFile(settings_.Values().PathS);
    if (const std::string text = ImportMessage(imported); !text.empty())
        env_.messages.ShowError(text);
    requestText_ = std::move(imported.requestText);
    for (std::size_t i = 0; i < panelBytes_.size(); ++i)
        if (imported.panels[i])
            panelBytes_[i] = std::move(*imported.panels[i]);
}

void FrmMain::Form_Unload() {
    // Written also when empty, so the next start begins with an empty short
    // code. A failed write is said: the code typed would be lost unseen.
    if (!settings_.SaveShortCode(ui::ToAnsi(w_.txtShort->text())))
        env_.messages.ShowError(ShortCodeNotSavedMessage(IniFile()));
}

} // namespace tessaro::app
