#include "app/frm_main.h"

#include "app/failure_message.h"
#include "config/settings_store.h"
#include "ui/settings_window.h"
#include "gdt/display_charset.h"
#include "platform/codec.h"
#include "platform/errors.h"
#include "ui/examination_button.h"
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
        env_.messages.ShowError(FailureMessage(e));
    } catch (const std::bad_alloc&) {
        env_.messages.ShowError(FailureMessage(platform::PlatformError(platform::ErrorNumber::OutOfMemory)));
    } catch (const std::exception& e) {
        env_.messages.ShowError(platform::cp1252::Ansi("Es ist ein unerwarteter Fehler aufgetreten.") +
                                "\r\n" + platform::cp1252::FromUtf8(e.what()) + "\r\n" +
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

namespace {

// No panel or caption shows more than this many bytes of a field: a request
// whose lines end in LF alone is one line, and its patient number would run on
// for the whole file, which a label would lay out for seconds.
constexpr std::size_t kMaxShownBytes = 512;

// The start of a field for display, cut before kMaxShownBytes without splitting
// a UTF-8 sequence (a few Windows-1252 bytes more or less do not matter there).
std::string_view ShownPart(std::string_view bytes, bool& cut) {
    cut = bytes.size() > kMaxShownBytes;
    if (!cut)
        return bytes;
    std::size_t end = kMaxShownBytes;
    for (int back = 0; back < 3 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80; ++back)
        --end;
    return bytes.substr(0, end);
}

} // namespace

// The one place that turns the imported panel bytes into what the operator
// reads: the three status-bar panels and the names in the caption.
void FrmMain::RenderPatient() {
    // Decoded in the charset the request declares (field 9206) or, without one,
    // the one its bytes reveal; the bytes themselves stay as imported.
    const gdt::DisplayCharset charset = gdt::RequestDisplayCharset(requestText_);
    auto shown = [&](std::string_view bytes) {
        bool cut = false;
        std::string text = gdt::DecodeForDisplay(ShownPart(bytes, cut), charset);
        return cut ? text + "\xE2\x80\xA6" : text; // "…" in UTF-8
    };
    for (std::size_t i = 0; i < panelBytes_.size(); ++i)
        w_.statusPanels[i]->setText(QString::fromStdString(shown(panelBytes_[i])));
    // The names are the panel texts from their fifth character on: after the
    // "VN: " / "NN: " prefix, and nothing when the panel still shows "VN:".
    auto name = [&](const std::string& panel) {
        return gdt::UpperForDisplay(
            shown(panel.size() > 4 ? std::string_view(panel).substr(4) : std::string_view()));
    };
    const std::string caption =
        "Velt - Tessaro [" + name(panelBytes_[1]) + " " + name(panelBytes_[2]) + "]";
    setWindowTitle(QString::fromStdString(caption));
}

void FrmMain::mnuClose_Click() {
    if (!ended_)
        close();
}

void FrmMain::mnuSettings_Click() {
    Guarded([&] {
        ui::ShowSettingsWindow(this, ui::SettingsWindowContext{values_, IniFile(), w_.txtMod, env_.folders,
                                                       env_.messages});
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
