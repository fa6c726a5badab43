// The UI edge of the codec: Windows-1252 bytes <-> QString. Nothing else in the
// windows converts text.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tessaro::ui {

QString FromAnsi(std::string_view bytes);
std::string ToAnsi(const QString& text);

// "Velt - Tessaro": the title of the application, its message boxes and, before
// a request is imported, the main window.
QString AppTitle();

// A button caption that shows every "&" as itself instead of making a mnemonic.
QString LiteralCaption(const QString& text);

} // namespace tessaro::ui
