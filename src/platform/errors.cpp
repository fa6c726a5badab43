#include "platform/errors.h"

#include "platform/cp1252.h"

#include <cerrno>
#include <utility>

namespace tessaro::platform {
namespace {

struct Row {
    ErrorNumber number;
    const char* utf8Description;
};

// The one table of error numbers and their German descriptions.
constexpr Row kTable[] = {
    {ErrorNumber::Overflow, "Überlauf"},
    {ErrorNumber::OutOfMemory, "Nicht genügend Speicher"},
    {ErrorNumber::TypeMismatch, "Typen unverträglich"},
    {ErrorNumber::BadFileName, "Dateiname oder -nummer falsch"},
    {ErrorNumber::FileNotFound, "Datei nicht gefunden"},
    {ErrorNumber::DeviceIo, "Fehler beim Lesen oder Schreiben des Datenträgers"},
    {ErrorNumber::FileExists, "Datei existiert bereits"},
    {ErrorNumber::DiskFull, "Datenträger voll"},
    {ErrorNumber::TooManyFiles, "Zu viele Dateien"},
    {ErrorNumber::PermissionDenied, "Zugriff verweigert"},
    {ErrorNumber::PathFileAccess, "Fehler beim Zugriff auf Pfad/Datei"},
    {ErrorNumber::PathNotFound, "Pfad nicht gefunden"},
};

std::string WhatText(int number, const std::string& description, const std::string& detail) {
    std::string what = std::to_string(number) + " - " + description;
    if (!detail.empty())
        what += " (" + detail + ")";
    return what;
}

} // namespace

std::string DescribeError(ErrorNumber number) {
    for (const Row& row : kTable)
        if (row.number == number)
            return platform::cp1252::Ansi(row.utf8Description);
    return platform::cp1252::Ansi("Unbekannter Fehler");
}

PlatformError::PlatformError(ErrorNumber number) : PlatformError(number, std::string()) {}

PlatformError::PlatformError(ErrorNumber number, std::string detail)
    : std::runtime_error(WhatText(static_cast<int>(number), DescribeError(number), detail)),
      number_(static_cast<int>(number)), description_(DescribeError(number)),
      detail_(std::move(detail)) {}

PlatformError::PlatformError(ErrorNumber number, std::string description, std::string detail)
    : std::runtime_error(WhatText(static_cast<int>(number), description, detail)),
      number_(static_cast<int>(number)), description_(std::move(description)),
      detail_(std::move(detail)) {}

FileInUse::FileInUse(std::string path)
    : PlatformError(ErrorNumber::PermissionDenied,
                    platform::cp1252::Ansi("Die Datei ist von einem anderen Programm geöffnet"),
                    std::move(path)) {}

ErrorNumber ErrorNumberFromErrno(int err) {
    switch (err) {
    case ENOENT:
        return ErrorNumber::FileNotFound;
    case ENOTDIR:
    case ELOOP:
        return ErrorNumber::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return ErrorNumber::PermissionDenied;
    case EEXIST:
    case ENOTEMPTY:
        return ErrorNumber::FileExists;
    case ENOSPC:
#ifdef EDQUOT // not in the Windows C runtime
    case EDQUOT:
#endif
    case EFBIG:
        return ErrorNumber::DiskFull;
    case ENAMETOOLONG:
    case EINVAL:
        return ErrorNumber::BadFileName;
    case EMFILE:
    case ENFILE:
        return ErrorNumber::TooManyFiles;
    case ENOMEM:
        return ErrorNumber::OutOfMemory;
    case EISDIR:
    case EBUSY:
    case EXDEV:
        return ErrorNumber::PathFileAccess;
    default:
        return ErrorNumber::DeviceIo;
    }
}

PlatformError ErrorFromErrno(int err) {
    return PlatformError(ErrorNumberFromErrno(err));
}

PlatformError ErrorFromErrno(int err, std::string detail) {
    return PlatformError(ErrorNumberFromErrno(err), std::move(detail));
}

std::string ErrorOccurredMessage(const PlatformError& error, std::string_view between) {
    return platform::cp1252::Ansi("Es ist ein Fehler aufgetreten.") + std::string(between) +
           std::to_string(error.Number()) + " - " + error.Description();
}

} // namespace tessaro::platform
