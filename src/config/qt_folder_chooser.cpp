#include "ui/qt_folder_chooser.h"

#include <QDir>
#include <QFileDialog>

namespace tessaro {

QString ui::QtFolderChooser::ChooseFolder(QWidget* owner, const QString& title) {
    // Cancel gives the empty string; a chosen folder comes without a trailing
    // separator except for the root. Windows paths are shown and stored with
    // "\", as the operator types them.
    return QDir::toNativeSeparators(
        QFileDialog::getExistingDirectory(owner, title, QString(), QFileDialog::ShowDirsOnly));
}

} // namespace tessaro
