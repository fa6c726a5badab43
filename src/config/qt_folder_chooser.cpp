#include "ui/qt_folder_chooser.h"

#include <QFileDialog>

namespace tessaro {

QString ui::QtFolderChooser::ChooseFolder(QWidget* owner, const QString& title) {
    // Cancel gives the empty string; a chosen folder comes without a trailing
    // separator except for the root.
    return QFileDialog::getExistingDirectory(owner, title, QString(), QFileDialog::ShowDirsOnly);
}

} // namespace tessaro
