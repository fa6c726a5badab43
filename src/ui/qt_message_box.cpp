#include "ui/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/text.h"

namespace tessaro::ui {

void QtMessageBox::ShowError(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kAppTitle.data(), kAppTitle.size()),
                    FromAnsi(text), QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace tessaro::ui
