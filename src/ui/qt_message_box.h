// The real message box: modal, error icon, OK only, titled "Velt - Tessaro",
// text shown as plain text.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/message_box.h"

namespace tessaro::ui {

class QtMessageBox : public MessageBox {
public:
    void ShowError(const std::string& text) override;
};

} // namespace tessaro::ui
