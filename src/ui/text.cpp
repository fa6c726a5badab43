#include "ui/text.h"

#include "platform/cp1252.h"
#include "platform/message_box.h"

namespace tessaro::ui {

QString FromAnsi(std::string_view bytes) {
    const std::string utf8 = platform::cp1252::ToUtf8(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToAnsi(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return platform::cp1252::FromUtf8(
        std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

QString AppTitle() {
    return FromAnsi(platform::kAppTitle);
}

QString LiteralCaption(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
    return escaped;
}

} // namespace tessaro::ui
