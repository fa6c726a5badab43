#include "app/failure_message.h"

#include "platform/codec.h"

namespace tessaro::app {

std::string FailureMessage(const platform::PlatformError& error) {
    std::string text = platform::cp1252::Ansi("Es ist ein Fehler aufgetreten.") + "\r\n" +
                       platform::cp1252::Ansi("Fehler ") + std::to_string(error.Number()) + " - " +
                       error.Description() + "\r\n";
    if (!error.Detail().empty())
        text += "(" + error.Detail() + ")\r\n";
    return text + platform::cp1252::Ansi("Das Programm wird beendet.");
}

} // namespace tessaro::app
