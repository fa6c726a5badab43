#include "platform/errors.h"

#include "platform/codec.h"

#include <cerrno>
#include <utility>

namespace tessaro {
namespace {

struct Row {
    platform::ErrorNumber number;
    const char* utf8Description;
};

// The one table of error numbers and their German descriptions.
constexpr Row kTable[] = {
    {platform::ErrorNumber::Overflow, "Überlauf"},
    {platform::ErrorNumber::OutOfMemory, "Nicht genügend Speicher"},
    {platform::ErrorNumber::TypeMismatch, "Typen unverträglich"},
    {platform::ErrorNumber::BadFileName, "Dateiname oder -nummer falsch"},
    {platform::ErrorNumber::FileNotFound, "Datei nicht gefunden"},
    {platform::ErrorNumber::DeviceIo, "Fehler beim Lesen oder Schreiben des Datenträgers"},
    {platform::ErrorNumber::FileExists, "Datei existiert bereits"},
    {platform::ErrorNumber::DiskFull, "Datenträger voll"},
    {platform::ErrorNumber::TooManyFiles, "Zu viele Dateien"},
    {platform::ErrorNumber::PermissionDenied, "Zugriff verweigert"},
    {platform::ErrorNumber::PathFileAccess, "Fehler beim Zugriff auf Pfad/Datei"},
    {platform::ErrorNumber::PathNotFound, "Pfad nicht gefunden"},
};

std::string WhatText(int number, const std::string& description, const std::string& detail) {
    std::string what = std::to_string(number) + " - " + description;
    if (!detail.empty())
        what += " (" + detail + ")";
    return what;
}

} // namespace

std::string platform::DescribeError(platform::ErrorNumber number) {
    for (const Row& row : kTable)
        if (row.number == number)
            return platform::cp1252::Ansi(row.utf8Description);
    return platform::cp1252::Ansi("Unbekannter Fehler");
}

platform::PlatformError::PlatformError(platform::ErrorNumber number) : platform::PlatformError(number, std::string()) {}

platform::PlatformError::PlatformError(platform::ErrorNumber number, std::string detail)
    : std::runtime_error(WhatText(static_cast<int>(number), platform::DescribeError(number), detail)),
      number_(static_cast<int>(number)), description_(platform::DescribeError(number)),
      detail_(std::move(detail)) {}

platform::ErrorNumber platform::ErrorNumberFromErrno(int err) {
    switch (err) {
    case ENOENT:
        return platform::ErrorNumber::FileNotFound;
    case ENOTDIR:
    case ELOOP:
        return platform::ErrorNumber::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return platform::ErrorNumber::PermissionDenied;
    case EEXIST:
    case ENOTEMPTY:
        return platform::ErrorNumber::FileExists;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return platform::ErrorNumber::DiskFull;
    case ENAMETOOLONG:
    case EINVAL:
        return platform::ErrorNumber::BadFileName;
    case EMFILE:
    case ENFILE:
        return platform::ErrorNumber::TooManyFiles;
    case ENOMEM:
        return platform::ErrorNumber::OutOfMemory;
    case EISDIR:
    case EBUSY:
    case EXDEV:
        return platform::ErrorNumber::PathFileAccess;
    default:
        return platform::ErrorNumber::DeviceIo;
    }
}

platform::PlatformError platform::ErrorFromErrno(int err) {
    return platform::PlatformError(platform::ErrorNumberFromErrno(err));
}

platform::PlatformError platform::ErrorFromErrno(int err, std::string detail) {
    return platform::PlatformError(platform::ErrorNumberFromErrno(err), std::move(detail));
}

} // namespace tessaro
