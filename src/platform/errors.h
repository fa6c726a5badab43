// Failures of the platform services: an error number and a German description
// (Windows-1252 bytes), taken from one table so that messages are consistent.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tessaro::platform {

enum class ErrorNumber : int {
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

class PlatformError : public std::runtime_error {
public:
    explicit PlatformError(ErrorNumber number);
    // detail (Windows-1252, e.g. the path) goes into what() only, never into the
    // description that the messages show.
    PlatformError(ErrorNumber number, std::string detail);

    int Number() const { return number_; }
    // German description, Windows-1252.
    const std::string& Description() const { return description_; }
    const std::string& Detail() const { return detail_; }
    // what(): number " - " description, then the detail in brackets if any.

protected:
    // A failure of a kind the table has no own number for: its description
    // says what happened, the number is the table's nearest.
    PlatformError(ErrorNumber number, std::string description, std::string detail);

private:
    int number_;
    std::string description_;
    std::string detail_;
};

// A file another program holds open without sharing it (on Windows, a virus
// scanner or the practice system still writing), still so after a short wait.
// Number 70 where a message's form needs a number; the description says who
// holds it, not that rights are missing. The detail is the file.
class FileInUse : public PlatformError {
public:
    explicit FileInUse(std::string path);
};

// German description (Windows-1252) of an error number from the table.
std::string DescribeError(ErrorNumber number);

// The message of a failure that was caught and reported: "Es ist ein Fehler
// aufgetreten.", then between, then the number, " - " and the description.
std::string ErrorOccurredMessage(const PlatformError& error, std::string_view between);

// Maps an errno value to the table.
ErrorNumber ErrorNumberFromErrno(int err);
PlatformError ErrorFromErrno(int err);
PlatformError ErrorFromErrno(int err, std::string detail);

} // namespace tessaro::platform
