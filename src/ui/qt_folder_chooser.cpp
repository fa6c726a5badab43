#include "ui/qt_folder_chooser.h"

#include "platform/cp1252.h"
#include "ui/text.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QVBoxLayout>

namespace tessaro::ui {

namespace {

// Browsing starts at the top, not in the working directory: on Windows the
// drives of the computer, elsewhere the root folder.
QString TopOfFileSystem() {
#ifdef Q_OS_WIN
    return QString();
#else
    return QDir::rootPath();
#endif
}

} // namespace

QString FolderFromBrowser(const platform::BrowsedFolder& browsed,
                          platform::OperatorMessages& messages) {
    using Outcome = platform::BrowsedFolder::Outcome;
    switch (browsed.outcome) {
    case Outcome::Chosen:
        return ui::FromAnsi(browsed.path);
    case Outcome::NotRepresentable:
        messages.ShowError(
            platform::cp1252::Ansi("Der Name des gewählten Ordners enthält Zeichen, die Tessaro "
                                   "nicht speichern kann:") +
            "\r\n" + browsed.path + "\r\n" +
            platform::cp1252::Ansi("Bitte wählen Sie einen anderen Ordner oder benennen Sie ihn "
                                   "um."));
        return QString();
    case Outcome::Cancelled:
        break;
    }
    return QString();
}

QString QtFolderChooser::ChooseFolder(QWidget* owner, const QString& title) {
    // The operator's own dialog where the platform has one; it finds its
    // owner (the active window) itself.
    if (platform::HasFolderBrowser())
        return FolderFromBrowser(platform::BrowseForFolder(ui::ToAnsi(title)), messages_);

    // Qt's dialog shows the title only in the title bar, which a desktop
    // without a window manager does not draw; so the prompt also stands in the
    // dialog itself, above Qt's own (widget-based, so the same everywhere)
    // directory browser embedded below it.
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("folderChooser"));
    dialog.setWindowTitle(title);
    auto* prompt = new QLabel(title, &dialog);
    prompt->setObjectName(QStringLiteral("prompt"));
    prompt->setTextFormat(Qt::PlainText);
    auto* browser = new QFileDialog(&dialog);
    browser->setWindowFlags(Qt::Widget);
    browser->setOption(QFileDialog::DontUseNativeDialog);
    browser->setFileMode(QFileDialog::Directory);
    browser->setOption(QFileDialog::ShowDirsOnly);
    browser->setDirectory(TopOfFileSystem());
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(prompt);
    layout->addWidget(browser);
    QObject::connect(browser, &QDialog::finished, &dialog, &QDialog::done);

    // Cancel gives the empty string; a chosen folder comes without a trailing
    // separator except for the root. Windows paths are shown and stored with
    // "\", as the operator types them.
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return QDir::toNativeSeparators(browser->selectedFiles().value(0));
}

} // namespace tessaro::ui
