// frmMain's wiring, the guard that turns a failure into the end of the program,
// the patient on screen, the menu and closing.
#include "app/frm_main.h"

#include "app/handover_messages.h"
#include "config/settings_store.h"
#include "gdt/commit.h"
#include "gdt/display_charset.h"
#include "gdt/display_text.h"
#include "platform/cp1252.h"
#include "platform/errors.h"
#include "ui/examination_button.h"
#include "ui/settings_window.h"
#include "ui/text.h"
#include "ui/text_box.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <new>

namespace tessaro::app {

FrmMain::FrmMain(Environment env)
    : env_(std::move(env)), w_(ui::BuildMainWindow(*this)),
      settings_(config::IniPath(env_.programDirectory)),
      highlighted_(selection::manual::kButtonCount, false) {
    Connect();
}

void FrmMain::Connect() {
    for (ui::ExaminationButton* b : w_.cmdQB)
        if (b != nullptr)
            connect(b, &ui::ExaminationButton::MouseDown, this, &FrmMain::cmdQB_MouseDown);
    for (ui::ExaminationButton* b : w_.cmdManual)
        connect(b, &ui::ExaminationButton::MouseDown, this, &FrmMain::cmdManual_MouseDown);
    connect(w_.txtBpart, &QLineEdit::textChanged, this, &FrmMain::txtBpart_Change);
    connect(w_.txtMod, &QLineEdit::textChanged, this, &FrmMain::txtMod_Change);
    connect(w_.txtBpart, &ui::TextBox::GotFocus, this, &FrmMain::txtBpart_GotFocus);
    connect(w_.txtMod, &ui::TextBox::GotFocus, this, &FrmMain::txtMod_GotFocus);
    connect(w_.txtShort, &ui::TextBox::GotFocus, this, &FrmMain::txtShort_GotFocus);
    connect(w_.cmdOK, &QPushButton::clicked, this, &FrmMain::cmdOK_Click);
    // An applied modality reaches txtMod before any held value changes, so
    // that its change handling runs on the values as they were.
    settings_.OnModalityApplied(
        [this](const std::string& modality) { w_.txtMod->setText(ui::FromAnsi(modality)); });
    connect(w_.mnuClose, &QAction::triggered, this, &FrmMain::mnuClose_Click);
    connect(w_.mnuSettings, &QAction::triggered, this, &FrmMain::mnuSettings_Click);
}

bool FrmMain::Guarded(const std::function<void()>& handler) {
    if (ended_)
        return false;
    try {
        handler();
        return true;
    } catch (const platform::PlatformError& e) {
        env_.messages.ShowError(FailureText(e));
    } catch (const std::bad_alloc&) {
        env_.messages.ShowError(
            FailureText(platform::PlatformError(platform::ErrorNumber::OutOfMemory)));
    } catch (const std::exception& e) {
        env_.messages.ShowError(
            platform::cp1252::Ansi("Es ist ein unerwarteter Fehler aufgetreten.") + "\r\n" +
            platform::cp1252::FromUtf8(e.what()) + "\r\n" +
            platform::cp1252::Ansi("Das Programm wird beendet."));
    }
    EndProgram(kExitFailure);
    return false;
}

void FrmMain::EndProgram(int status) {
    if (ended_)
        return;
    ended_ = true;
    env_.endProgram(status);
}

std::string FrmMain::IniFile() const {
    return config::IniPath(env_.programDirectory);
}

// The one place that puts the imported panel bytes on screen: the three
// status-bar panels and the names in the caption.
void FrmMain::RenderPatient() {
    // Decoded in the charset the request declares (field 9206) or, without one,
    // the one its bytes reveal; the bytes themselves stay as imported.
    const gdt::DisplayCharset charset = gdt::RequestDisplayCharset(requestText_);
    for (std::size_t i = 0; i < panelBytes_.size(); ++i)
        w_.statusPanels[i]->setText(
            QString::fromStdString(gdt::ShownPanel(panelBytes_[i], charset)));
    setWindowTitle(
        QString::fromStdString(gdt::CaptionText(panelBytes_[1], panelBytes_[2], charset)));
}

void FrmMain::mnuClose_Click() {
    if (!ended_)
        close();
}

void FrmMain::mnuSettings_Click() {
    Guarded([&] {
        ui::SettingsWindow window(
            this, ui::SettingsWindowContext{settings_, env_.folders, env_.messages});
        window.exec();
    });
}

void FrmMain::closeEvent(QCloseEvent* event) {
    // An unload is never cancelled; after an end without unload (no data, a
    // failure) the short code is not saved.
    event->accept();
    if (ended_)
        return;
    if (Guarded([&] { Form_Unload(); }))
        EndProgram(kExitOk);
}

} // namespace tessaro::app
