// The text shown when a failure ends the program: what went wrong, by number
// and German description, and on which file.
#pragma once

#include "platform/errors.h"

#include <string>

namespace tessaro::app {

// Windows-1252 text, e.g. "Es ist ein Fehler aufgetreten." CR LF
// "Fehler 58 - Datei existiert bereits" CR LF "(…/001.7.gdt)" CR LF
// "Das Programm wird beendet."
std::string FailureMessage(const platform::PlatformError& error);

} // namespace tessaro::app
