// Qt's own texts: the first folder holding the German file wins, a damaged file
// is passed over, and without any the program goes on in English.
#include "support/temp_dir.h"
#include "ui/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <gtest/gtest.h>

namespace tessaro::ui {
namespace {

QString Undo() {
    return QCoreApplication::translate("QLineEdit", "&Undo");
}

void RemoveTranslators() {
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

TEST(ToolkitTranslations, FirstUsableFileWinsElseEnglish) {
    const QString installed =
        QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath)).filePath(kToolkitTranslationFile);
    if (!QFile::exists(installed))
        GTEST_SKIP() << "no " << installed.toStdString() << " (qt6-translations-l10n)";
    test::TempDir empty, damaged, good;
    test::Spit(damaged.File(kToolkitTranslationFile), "not a translation");
    ASSERT_TRUE(QFile::copy(installed, QString::fromStdString(good.File(kToolkitTranslationFile))));
    const auto q = [](const test::TempDir& d) { return QString::fromStdString(d.path()); };

    struct Case {
        const char* what;
        QStringList folders;
        bool loaded;
        const char* undo; // UTF-8
    };
    const Case cases[] = {
        {"no file anywhere", {q(empty), QString()}, false, "&Undo"},
        {"found after an empty folder", {q(empty), q(good)}, true, "&Rückgängig"},
        {"damaged file passed over", {q(damaged), q(good)}, true, "&Rückgängig"},
        {"only a damaged file", {q(damaged)}, false, "&Undo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LoadToolkitTranslations(*QCoreApplication::instance(), c.folders), c.loaded);
        EXPECT_EQ(Undo(), QString::fromUtf8(c.undo));
        EXPECT_EQ(QLocale().language(), QLocale::German);
        RemoveTranslators();
    }
    QLocale::setDefault(QLocale::c());
}

} // namespace
} // namespace tessaro::ui
