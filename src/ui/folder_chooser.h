// The folder chooser seam: the real one opens the platform's folder browser or
// Qt's directory dialog, tests answer without a dialog.
#pragma once

#include <QString>

class QWidget;

namespace tessaro::ui {

class FolderChooser {
public:
    virtual ~FolderChooser() = default;
    // The chosen folder's full path, or "" when the operator cancelled.
    virtual QString ChooseFolder(QWidget* owner, const QString& title) = 0;
};

} // namespace tessaro::ui
