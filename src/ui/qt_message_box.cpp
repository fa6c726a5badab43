#include "ui/qt_message_box.h"

#include "ui/text.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tessaro::ui {

namespace {

// With TESSARO_LOG_MESSAGES=1 every text also goes to stderr (UTF-8) just
// before its box is shown, so that the end-to-end runs under Xvfb can read what
// the operator is told. Off by default: the operator's program keeps no log.
void LogForTests(const QString& text) {
    const char* wanted = std::getenv("TESSARO_LOG_MESSAGES");
    if (wanted == nullptr || std::strcmp(wanted, "1") != 0)
        return;
    const QByteArray utf8 = text.toUtf8();
    std::fprintf(stderr, "tessaro: message box: %s\n", utf8.constData());
    std::fflush(stderr);
}

} // namespace

void QtMessageBox::ShowError(const std::string& text) {
    const QString shown = FromAnsi(text);
    LogForTests(shown);
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(platform::kAppTitle.data(), platform::kAppTitle.size()),
                    shown, QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace tessaro::ui
