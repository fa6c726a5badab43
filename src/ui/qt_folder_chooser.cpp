#include "ui/qt_folder_chooser.h"

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

QString QtFolderChooser::ChooseFolder(QWidget* owner, const QString& title) {
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
