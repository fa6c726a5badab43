// The folder chooser seam: the real one opens Qt's directory dialog, tests
// answer without a dialog.
#pragma once

#include <QString>

class QWidget;

namespace tessaro {

class ui::FolderChooser {
public:
    virtual ~ui::FolderChooser() = default;
    // The chosen folder's full path, or "" when the operator cancelled.
    virtual QString ChooseFolder(QWidget* owner, const QString& title) = 0;
};

} // namespace tessaro
