#include "ui/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tessaro::ui {

QStringList ToolkitTranslationFolders() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    return {programFolder + QStringLiteral("/translations"), programFolder,
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

bool LoadToolkitTranslations(QCoreApplication& application, const QStringList& folders) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const QString& folder : folders) {
        // The exact file only: QTranslator::load would also try "qtbase.qm".
        const QString file = QDir(folder).filePath(QLatin1String(kToolkitTranslationFile));
        if (folder.isEmpty() || !QFileInfo(file).isFile())
            continue;
        auto* translator = new QTranslator(&application);
        if (translator->load(file) && QCoreApplication::installTranslator(translator))
            return true;
        delete translator; // damaged or empty: try the next folder
    }
    return false;
}

} // namespace tessaro::ui
