// The real folder chooser over Qt's directory dialog: the prompt as caption and
// inside the dialog, folders only, browsing from the root, "" on cancel, an
// umlaut folder returned intact.
#include "support/temp_dir.h"
#include "ui/qt_folder_chooser.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace tessaro {
namespace {

struct Seen {
    QString title;
    QString prompt; // the text shown in the dialog above the browser
    QString start;  // the folder browsing starts in
    bool dirsOnly = false;
};

// Runs ChooseFolder and lets answer act on Qt's browser once the dialog is up.
QString ChooseWith(const QString& title, const std::function<void(QFileDialog*)>& answer,
                   Seen* seen) {
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = modal ? modal->findChild<QFileDialog*>() : nullptr;
        if (!dialog) { // no Qt browser inside: end it rather than hang
            if (modal)
                modal->close();
            return;
        }
        seen->title = modal->windowTitle();
        for (const QLabel* label : modal->findChildren<QLabel*>())
            if (label->isVisible() && label->text() == title)
                seen->prompt = label->text();
        seen->start = dialog->directory().absolutePath();
        seen->dirsOnly = dialog->fileMode() == QFileDialog::Directory &&
                         dialog->testOption(QFileDialog::ShowDirsOnly);
        answer(dialog);
    });
    ui::QtFolderChooser chooser;
    return chooser.ChooseFolder(nullptr, title);
}

TEST(QtFolderChooser, CancelGivesTheEmptyText) {
    Seen seen;
    const QString prompt = QString::fromUtf8("Bitte wählen Sie einen Ordner...");
    const QString result = ChooseWith(
        prompt, [](QFileDialog* d) { d->reject(); }, &seen);
    EXPECT_TRUE(result.isEmpty());
    EXPECT_EQ(seen.title, prompt);
    EXPECT_EQ(seen.prompt, prompt);
    EXPECT_EQ(seen.start, QDir::rootPath()); // not the working directory
    EXPECT_TRUE(seen.dirsOnly);
}

TEST(QtFolderChooser, ChosenFolderComesBackAsItsFullPath) {
    test::TempDir dir;
    const std::string folder = dir.File("Übergabe");
    std::filesystem::create_directory(folder);
    Seen seen;
    const QString result = ChooseWith(
        "Ordner",
        [&](QFileDialog* d) {
            d->setDirectory(QString::fromStdString(folder));
            d->selectFile(QString::fromStdString(folder));
            static_cast<QDialog*>(d)->accept(); // QFileDialog::accept is protected
        },
        &seen);
    EXPECT_EQ(result, QString::fromStdString(folder));
}

} // namespace
} // namespace tessaro
