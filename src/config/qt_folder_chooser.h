// The real folder chooser: Qt's directory dialog, folders only, the title as prompt.
#pragma once

#include "ui/folder_chooser.h"

namespace tessaro {

class ui::QtFolderChooser : public ui::FolderChooser {
public:
    QString ChooseFolder(QWidget* owner, const QString& title) override;
};

} // namespace tessaro
