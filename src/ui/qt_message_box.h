// The real message box: modal, error icon, OK only, titled "Velt - Tessaro",
// text shown as plain text.
#pragma once

#include "platform/message_box.h"

#include <QPointer>
#include <QWidget>

namespace tessaro::ui {

class QtMessageBox : public platform::OperatorMessages {
public:
    void ShowError(const std::string& text) override;
};

} // namespace tessaro::ui
