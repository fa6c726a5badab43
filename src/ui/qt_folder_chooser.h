// The real folder chooser: the platform's own folder browser where it has one
// (Windows), else Qt's directory dialog; folders only, the title as prompt.
#pragma once

#include "platform/folder_browser.h"
#include "platform/message_box.h"
#include "ui/folder_chooser.h"

namespace tessaro::ui {

class QtFolderChooser : public FolderChooser {
public:
    explicit QtFolderChooser(platform::OperatorMessages& messages) : messages_(messages) {}
    QString ChooseFolder(QWidget* owner, const QString& title) override;

private:
    platform::OperatorMessages& messages_;
};

// What the platform's browser gave, as the text for a path field: the folder,
// or "" on cancel; a folder no Windows-1252 path can name is refused with a
// message, since a "?" in its place would name another folder or none.
QString FolderFromBrowser(const platform::BrowsedFolder& browsed,
                          platform::OperatorMessages& messages);

} // namespace tessaro::ui
