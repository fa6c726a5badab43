#include "ui/settings_window.h"

#include "config/folder_scan.h"
#include "config/settings_store.h"
#include "platform/cp1252.h"
#include "platform/files.h"
#include "ui/text.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace tessaro::ui {

SettingsWindow::SettingsWindow(QWidget* owner, const SettingsWindowContext& context)
    : QDialog(owner), context_(context), c_(ui::BuildSettingsLayout(this)) {
    Form_Load();
    TrackChanges();

    connect(c_.cmdApply, &QPushButton::clicked, this, &SettingsWindow::cmdApply_Click);
    connect(c_.cmdSpeichern, &QPushButton::clicked, this, &SettingsWindow::cmdSpeichern_Click);
    connect(c_.cmdCancel, &QPushButton::clicked, this, &SettingsWindow::cmdCancel_Click);
    connect(c_.cmdSRCDest, &QPushButton::clicked, this, &SettingsWindow::cmdSRCDest_Click);
    connect(c_.cmdSrcSource, &QPushButton::clicked, this, &SettingsWindow::cmdSrcSource_Click);
}

void SettingsWindow::Form_Load() {
    const config::ProgramSettings& v = context_.settings.Values();
    c_.txtGDTpathS->setText(ui::FromAnsi(v.PathS));
    c_.txtGDTpathD->setText(ui::FromAnsi(v.PathD));
    // The stored default, not what the operator may have typed into the main window.
    c_.txtModality->setText(ui::FromAnsi(context_.settings.StoredModality()));
    c_.txtLumeoID->setText(ui::FromAnsi(v.LumeoID));
    c_.txtSuffix->setText(ui::FromAnsi(platform::cp1252::ToUpper(v.Suffix)));
    c_.chkManual->setChecked(v.Manual);
    c_.chkStudyDesc->setChecked(v.StudyDesc);
    c_.cmdApply->setEnabled(false);
}

// Connected only after Form_Load, so that filling the window is not a change.
void SettingsWindow::TrackChanges() {
    for (QLineEdit* box :
         {c_.txtGDTpathS, c_.txtGDTpathD, c_.txtModality, c_.txtLumeoID, c_.txtSuffix})
        connect(box, &QLineEdit::textChanged, this, &SettingsWindow::MarkChanged);
    // clicked, not toggled: only the operator's click counts.
    connect(c_.chkManual, &QCheckBox::clicked, this, &SettingsWindow::MarkChanged);
    connect(c_.chkStudyDesc, &QCheckBox::clicked, this, &SettingsWindow::MarkChanged);
}

void SettingsWindow::MarkChanged() {
    c_.cmdApply->setEnabled(true);
}

void SettingsWindow::Apply() {
    const std::string& file = context_.settings.File();
    config::ProgramSettings v;
    v.PathS = ui::ToAnsi(c_.txtGDTpathS->text());
    v.PathD = ui::ToAnsi(c_.txtGDTpathD->text());
    v.LumeoID = ui::ToAnsi(c_.txtLumeoID->text());
    v.StudyDesc = c_.chkStudyDesc->isChecked();
    v.Manual = c_.chkManual->isChecked();
    // The modality is announced first and the values held before they are
    // written: they take effect even if the file cannot be written.
    const bool written = context_.settings.Save(v, ui::ToAnsi(c_.txtModality->text()),
                                                ui::ToAnsi(c_.txtSuffix->text()));
    c_.cmdApply->setEnabled(false);

    // Without this the operator would take the new settings for saved, and the
    // next start would bring back the old ones.
    if (!written)
        context_.messages.ShowError(platform::cp1252::Ansi("Die Einstellungen konnten nicht in ") +
                                    file + platform::cp1252::Ansi(" gespeichert werden."));
}

void SettingsWindow::cmdApply_Click() {
    Apply();
}

void SettingsWindow::cmdSpeichern_Click() {
    Apply();
    accept();
}

void SettingsWindow::cmdCancel_Click() {
    reject();
}

bool SettingsWindow::ChooseFolderInto(QLineEdit* box, const QString& title) {
    QPointer<SettingsWindow> self(this);
    const QString folder = context_.folders.ChooseFolder(this, title);
    // The window may have been closed, or destroyed, while the chooser was open.
    if (!self || !isVisible() || folder.isEmpty())
        return false;
    box->setText(folder);
    MarkChanged();
    return true;
}

void SettingsWindow::cmdSRCDest_Click() {
    ChooseFolderInto(c_.txtGDTpathD, QStringLiteral("Bitte wählen Sie den Ordner aus..."));
}

void SettingsWindow::cmdSrcSource_Click() {
    QPointer<SettingsWindow> self(this);
    if (!ChooseFolderInto(c_.txtGDTpathS, QStringLiteral("Bitte wählen Sie einen Ordner...")))
        return;
    // A newer scan replaces this one; closing the window ends it (done()).
    const unsigned generation = ++scanGeneration_;
    const QString folder = c_.txtGDTpathS->text();

    const std::string ansiFolder = ui::ToAnsi(folder);
    // The value held in memory counts, not what txtSuffix shows unapplied.
    const std::string suffix = context_.settings.Values().Suffix;
    const std::optional<std::string> name = config::FindRequestFile(ansiFolder, suffix, [&] {
        // Keeps the window responsive during a long listing.
        QCoreApplication::processEvents();
        return self && scanGeneration_ == generation;
    });
    if (!name || !self || scanGeneration_ != generation)
        return;
    c_.txtGDTpathS->setText(ui::FromAnsi(platform::Join(ansiFolder, *name)));
    MarkChanged();
}

void SettingsWindow::done(int result) {
    ++scanGeneration_;
    QDialog::done(result);
}

void SettingsWindow::keyPressEvent(QKeyEvent* event) {
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

} // namespace tessaro::ui
