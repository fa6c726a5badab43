#include "ui/settings_window.h"

#include "config/folder_scan.h"
#include "config/settings_store.h"
#include "platform/codec.h"
#include "platform/profile.h"
#include "ui/text.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace tessaro {

namespace {

const char* Flag(bool on) {
    return on ? "1" : "0";
}

} // namespace

void ui::ShowSettingsWindow(QWidget* owner, const ui::SettingsWindowContext& context) {
    ui::SettingsWindow window(owner, context);
    window.exec();
}

ui::SettingsWindow::SettingsWindow(QWidget* owner, const ui::SettingsWindowContext& context)
    : QDialog(owner), context_(context), mainModality_(context.mainModality),
      c_(ui::BuildSettingsLayout(this)) {
    Form_Load();
    TrackChanges();

    connect(c_.cmdApply, &QPushButton::clicked, this, &ui::SettingsWindow::cmdApply_Click);
    connect(c_.cmdSpeichern, &QPushButton::clicked, this, &ui::SettingsWindow::cmdSpeichern_Click);
    connect(c_.cmdCancel, &QPushButton::clicked, this, &ui::SettingsWindow::cmdCancel_Click);
    connect(c_.cmdSRCDest, &QPushButton::clicked, this, &ui::SettingsWindow::cmdSRCDest_Click);
    connect(c_.cmdSrcSource, &QPushButton::clicked, this, &ui::SettingsWindow::cmdSrcSource_Click);
}

void ui::SettingsWindow::Form_Load() {
    const config::ProgramSettings& v = context_.values;
    c_.txtGDTpathS->setText(ui::FromAnsi(v.PathS));
    c_.txtGDTpathD->setText(ui::FromAnsi(v.PathD));
    // The stored default, not what the operator may have typed into the main window.
    c_.txtModality->setText(
        ui::FromAnsi(config::ReadIniValue(config::kModalitySection, config::kModalityKey, "",
                                            context_.iniFile, config::kValueSize)));
    c_.txtLumeoID->setText(ui::FromAnsi(v.LumeoID));
    c_.txtSuffix->setText(ui::FromAnsi(platform::cp1252::ToUpper(v.Suffix)));
    c_.chkManual->setChecked(v.Manual);
    c_.chkStudyDesc->setChecked(v.StudyDesc);
    c_.cmdApply->setEnabled(false);
}

// Connected only after Form_Load, so that filling the window is not a change.
void ui::SettingsWindow::TrackChanges() {
    for (QLineEdit* box :
         {c_.txtGDTpathS, c_.txtGDTpathD, c_.txtModality, c_.txtLumeoID, c_.txtSuffix})
        connect(box, &QLineEdit::textChanged, this, &ui::SettingsWindow::MarkChanged);
    // clicked, not toggled: only the operator's click counts.
    connect(c_.chkManual, &QCheckBox::clicked, this, &ui::SettingsWindow::MarkChanged);
    connect(c_.chkStudyDesc, &QCheckBox::clicked, this, &ui::SettingsWindow::MarkChanged);
}

void ui::SettingsWindow::MarkChanged() {
    c_.cmdApply->setEnabled(true);
}

void ui::SettingsWindow::Apply() {
    config::ProgramSettings& v = context_.values;
    const std::string& file = context_.iniFile;
    bool written = true;
    auto write = [&](const std::string& section, const std::string& key, const std::string& value) {
        written = platform::WritePrivateProfileString(section, key, value, file) && written;
    };
    const std::string gdt = config::kGdtSection;

    // First, so that the main window's own change handling of txtMod runs now.
    if (mainModality_)
        mainModality_->setText(c_.txtModality->text());

    // Each value is held before it is written: it takes effect even if the file
    // cannot be written.
    v.PathS = ui::ToAnsi(c_.txtGDTpathS->text());
    write(gdt, "PathS", v.PathS);
    write(config::kModalitySection, config::kModalityKey, ui::ToAnsi(c_.txtModality->text()));
    v.PathD = ui::ToAnsi(c_.txtGDTpathD->text());
    write(gdt, "PathD", v.PathD);
    const std::string suffix = ui::ToAnsi(c_.txtSuffix->text());
    v.Suffix = platform::cp1252::ToUpper(suffix);
    write(gdt, "Suffix", suffix); // as typed; only the held value is upper case
    v.LumeoID = ui::ToAnsi(c_.txtLumeoID->text());
    write(gdt, "LumeoID", v.LumeoID);
    v.StudyDesc = c_.chkStudyDesc->isChecked();
    write(gdt, "StudyDesc", Flag(v.StudyDesc));
    v.Manual = c_.chkManual->isChecked();
    write(gdt, "Manual", Flag(v.Manual));
    c_.cmdApply->setEnabled(false);

    // Without this the operator would take the new settings for saved, and the
    // next start would bring back the old ones.
    if (!written)
        context_.messages.ShowError(platform::cp1252::Ansi("Die Einstellungen konnten nicht in ") + file +
                                    platform::cp1252::Ansi(" gespeichert werden."));
}

void ui::SettingsWindow::cmdApply_Click() {
    Apply();
}

void ui::SettingsWindow::cmdSpeichern_Click() {
    Apply();
    accept();
}

void ui::SettingsWindow::cmdCancel_Click() {
    reject();
}

void ui::SettingsWindow::cmdSRCDest_Click() {
    QPointer<ui::SettingsWindow> self(this);
    const QString folder =
        context_.folders.ChooseFolder(this, QStringLiteral("Bitte wählen Sie den Ordner aus..."));
    if (!self || !isVisible() || folder.isEmpty())
        return;
    c_.txtGDTpathD->setText(folder);
    MarkChanged();
}

void ui::SettingsWindow::cmdSrcSource_Click() {
    QPointer<ui::SettingsWindow> self(this);
    const QString folder =
        context_.folders.ChooseFolder(this, QStringLiteral("Bitte wählen Sie einen Ordner..."));
    if (!self || !isVisible() || folder.isEmpty())
        return;

    // A newer scan replaces this one; closing the window ends it (done()).
    const unsigned generation = ++scanGeneration_;
    c_.txtGDTpathS->setText(folder);
    MarkChanged();

    const std::string ansiFolder = ui::ToAnsi(folder);
    // The value held in memory counts, not what txtSuffix shows unapplied.
    const std::string suffix = context_.values.Suffix;
    const std::optional<std::string> name = config::FindRequestFile(ansiFolder, suffix, [&] {
        // Keeps the window responsive during a long listing.
        QCoreApplication::processEvents();
        return self && scanGeneration_ == generation;
    });
    if (!name || !self || scanGeneration_ != generation)
        return;
    c_.txtGDTpathS->setText(ui::FromAnsi(JoinFolderAndName(ansiFolder, *name)));
    MarkChanged();
}

void ui::SettingsWindow::done(int result) {
    ++scanGeneration_;
    QDialog::done(result);
}

void ui::SettingsWindow::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // QPushButton ignores Enter when it is not a default button, so it arrives
        // here; text fields and check boxes pass it on as well and press nothing.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled())
            button->click();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Cancel)) {
        event->accept(); // QDialog would reject
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace tessaro
