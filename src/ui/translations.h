// Qt's own texts in German: the context menu of every text box, the folder
// chooser with its labels, tool tips and alerts. All user-visible text is German,
// whatever locale the machine runs in.
#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace tessaro::ui {

inline constexpr const char* kToolkitTranslationFile = "qtbase_de.qm";

// Where the file is looked for, in this order: a "translations" folder beside
// the executable, the executable's own folder (so a copy shipped with the
// program is found where no Qt is installed), then Qt's installed translations
// (Debian: qt6-translations-l10n).
QStringList ToolkitTranslationFolders();

// Installs the first kToolkitTranslationFile found in folders and makes German
// the default locale (dates and sizes in the folder chooser). Without the file
// Qt's texts stay English and the program runs on; false then.
bool LoadToolkitTranslations(QCoreApplication& application, const QStringList& folders);

} // namespace tessaro::ui
