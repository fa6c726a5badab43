// Failures of the platform services: an error number and a German description
// (Windows-1252 bytes), taken from one table so that messages are consistent.
#pragma once

#include <stdexcept>
#include <string>

namespace tessaro {

enum class platform::ErrorNumber : int {
    Overflow = 6,          // "Überlauf"
    TypeMismatch = 13,     // "Typen unverträglich"
    BadFileName = 52,      // "Dateiname oder -nummer falsch"
    FileNotFound = 53,     // "Datei nicht gefunden"
    FileExists = 58,       // "Datei existiert bereits"
    DiskFull = 61,         // "Datenträger voll"
    PermissionDenied = 70, // "Zugriff verweigert"
    PathFileAccess = 75,   // "Fehler beim Zugriff auf Pfad/Datei"
    PathNotFound = 76,     // "Pfad nicht gefunden"
    DeviceIo = 57,         // "Fehler beim Lesen oder Schreiben des Datenträgers"
    OutOfMemory = 7,       // "Nicht genügend Speicher"
    TooManyFiles = 67,     // "Zu viele Dateien"
};

class platform::PlatformError : public std::runtime_error {
public:
    explicit platform::PlatformError(platform::ErrorNumber number);
    // detail (Windows-1252, e.g. the path) goes into what() only, never into the
    // description that the messages show.
    platform::PlatformError(platform::ErrorNumber number, std::string detail);

    int Number() const { return number_; }
    // German description, Windows-1252.
    const std::string& Description() const { return description_; }
    const std::string& Detail() const { return detail_; }
    // what(): number " - " description, then the detail in brackets if any.

private:
    int number_;
    std::string description_;
    std::string detail_;
};

// German description (Windows-1252) of an error number from the table.
std::string platform::DescribeError(platform::ErrorNumber number);

// Maps an errno value to the table.
platform::ErrorNumber platform::ErrorNumberFromErrno(int err);
platform::PlatformError platform::ErrorFromErrno(int err);
platform::PlatformError platform::ErrorFromErrno(int err, std::string detail);

} // namespace tessaro
