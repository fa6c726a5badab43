#include "platform/instance_lock.h"

#include "platform/cp1252.h"

namespace tessaro::platform {

void InstanceLock::Refuse(const std::string& reason) {
    failure_ = cp1252::Ansi("Tessaro kann nicht starten: Die Sperrdatei ") + kLockFileName +
               cp1252::Ansi(" im Programmverzeichnis kann nicht gesperrt werden (") + reason +
               cp1252::Ansi("). Ohne sie könnten zwei Tessaro dieselbe Anfrage und denselben "
                            "Zähler verwenden. Jeder, der Tessaro hier startet, muss diese "
                            "Datei schreiben dürfen.");
}

} // namespace tessaro::platform
