// The real folder chooser over Qt's directory dialog: the prompt as caption and
// inside the dialog, folders only, browsing from the root, "" on cancel, an
// umlaut folder returned intact.
#include "support/recording_message_box.h"
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
    test::RecordingMessageBox messages;
    ui::QtFolderChooser chooser(messages);
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

namespace tessaro {
namespace {

// The platform browser's answer as the settings window receives it.
TEST(QtFolderChooser, FolderFromThePlatformBrowser) {
    using Outcome = platform::BrowsedFolder::Outcome;
    struct Case {
        platform::BrowsedFolder browsed;
        QString field;       // what the path field receives
        std::string message; // "" for none, else a part of it
    };
    const std::vector<Case> cases = {
        {{Outcome::Chosen, "C:\\GDT\\\xdc"
                           "bergabe"},
         QString::fromUtf8("C:\\GDT\\Übergabe"),
         ""},
        {{Outcome::Chosen, "\\\\server\\share\\GDT"}, QStringLiteral("\\\\server\\share\\GDT"), ""},
        {{Outcome::Chosen, "C:\\"}, QStringLiteral("C:\\"), ""},
        {{Outcome::Cancelled, ""}, QString(), ""},
        {{Outcome::NotRepresentable, "\\\\nas\\R\xf6ntgen\\?"},
         QString(),
         "\r\n\\\\nas\\R\xf6ntgen\\?\r\n"},
    };
    for (const Case& c : cases) {
        test::RecordingMessageBox messages;
        EXPECT_EQ(ui::FolderFromBrowser(c.browsed, messages), c.field) << c.browsed.path;
        if (c.message.empty()) {
            EXPECT_TRUE(messages.texts.empty()) << c.browsed.path;
        } else {
            ASSERT_EQ(messages.texts.size(), 1u) << c.browsed.path;
            EXPECT_NE(messages.texts[0].find(c.message), std::string::npos) << messages.texts[0];
            EXPECT_EQ(messages.texts[0].rfind("Der Name des gew\xe4hlten Ordners", 0), 0u);
        }
    }
}

} // namespace
} // namespace tessaro
