#include "app/failure_message.h"

#include "platform/codec.h"

namespace tessaro::app {

std::string FailureMessage(const platform::PlatformError& error) {
    std::string text = platform::ErrorOccurredMessage(error, "\r\nFehler ") + "\r\n";
    if (!error.Detail().empty())
        text += "(" + error.Detail() + ")\r\n";
    return text + platform::cp1252::Ansi("Das Programm wird beendet.");
}

} // namespace tessaro::app
