// The real folder chooser over Qt's directory dialog: the prompt as caption,
// folders only, "" on cancel, an umlaut folder returned intact.
#include "ui/qt_folder_chooser.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace tessaro {
namespace {

// Runs ChooseFolder and lets answer act on the dialog once it is up.
QString ChooseWith(const QString& title, const std::function<void(QFileDialog*)>& answer,
                   QString* seenTitle, bool* dirsOnly) {
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) { // not Qt's own dialog: end it rather than hang
            if (modal)
                modal->close();
            return;
        }
        *seenTitle = dialog->windowTitle();
        *dirsOnly = dialog->fileMode() == QFileDialog::Directory &&
                    dialog->testOption(QFileDialog::ShowDirsOnly);
        answer(dialog);
    });
    ui::QtFolderChooser chooser;
    return chooser.ChooseFolder(nullptr, title);
}

TEST(QtFolderChooser, CancelGivesTheEmptyText) {
    QString seen;
    bool dirsOnly = false;
    const QString result = ChooseWith(
        QString::fromUtf8("Bitte wählen Sie einen Ordner..."), [](QFileDialog* d) { d->reject(); },
        &seen, &dirsOnly);
    EXPECT_TRUE(result.isEmpty());
    EXPECT_EQ(seen, QString::fromUtf8("Bitte wählen Sie einen Ordner..."));
    EXPECT_TRUE(dirsOnly);
}

TEST(QtFolderChooser, ChosenFolderComesBackAsItsFullPath) {
    test::TempDir dir;
    const std::string folder = dir.File("Übergabe");
    std::filesystem::create_directory(folder);
    QString seen;
    bool dirsOnly = false;
    const QString result = ChooseWith(
        "Ordner",
        [&](QFileDialog* d) {
            d->setDirectory(QString::fromStdString(folder));
            d->selectFile(QString::fromStdString(folder));
            static_cast<QDialog*>(d)->accept(); // QFileDialog::accept is protected
        },
        &seen, &dirsOnly);
    EXPECT_EQ(result, QString::fromStdString(folder));
}

} // namespace
} // namespace tessaro
