#include "gdt/recovery.h"

#include "gdt/claim.h"
#include "gdt/request_import.h"
#include "gdt/result_writer.h"
#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/files.h"

#include <new>
#include <optional>
#include <vector>

namespace tessaro::gdt {
namespace {

std::string Ansi(const char* utf8) {
    return platform::cp1252::Ansi(utf8);
}

struct Place {
    std::string folder; // where the request and its claims lie
    std::string Of(const std::string& name) const {
        return folder.empty() ? name : platform::Join(folder, name);
    }
};

// A .zzz is this claim's own when it holds the claimed request and at most
// one line after it: no other run wrote these bytes.
bool WrittenFrom(const std::string& temporary, const std::string& claimed) {
    return temporary.size() <= claimed.size() + kMaxLineBytes &&
           temporary.compare(0, claimed.size(), claimed) == 0;
}

// The file's bytes, or nullopt when there is certainly no file: any other
// failure to look (a disk error) throws, since taking it for "gone" would
// decide wrongly whether the result was put in place.
std::optional<std::string> ReadIfThere(const std::string& path, std::size_t limit) {
    try {
        return platform::ReadWholeFile(path, limit);
    } catch (const platform::FileTooLarge&) {
        return std::string(); // larger than any of ours: someone else's
    } catch (const platform::PlatformError& e) {
        if (e.Number() == static_cast<int>(platform::ErrorNumber::FileNotFound))
            return std::nullopt;
        // Not a regular file (a pipe, a folder): none of ours.
        if (e.Number() == static_cast<int>(platform::ErrorNumber::PathFileAccess))
            return std::string();
        throw;
    }
}

std::string Recover(const Place& place, const std::string& claimFile, const Claim& claim,
                    const config::ProgramSettings& settings) {
    const std::string claimPath = place.Of(claimFile);
    const std::string requestPath = place.Of(claim.requestName);
    const std::string temporary =
        ResultFileName(settings.PathD, claim.lumeoId, claim.number, ".zzz");
    const std::string final = ResultFileName(settings.PathD, claim.lumeoId, claim.number, ".gdt");
    const std::string claimed = platform::ReadWholeFile(claimPath, kMaxRequestBytes);
    const std::size_t limit = kMaxRequestBytes + kMaxLineBytes;
    const std::optional<std::string> written = ReadIfThere(temporary, limit);
    const bool ownTemporary = written && WrittenFrom(*written, claimed);

    if (claim.ready) {
        if (ownTemporary) {
            const std::optional<std::string> put = ReadIfThere(final, limit);
            if (put && *put == *written) {
                // Cut short between the two names of a link-and-unlink rename.
                platform::RemoveFile(temporary);
            } else {
                try {
                    platform::RenameNoReplace(temporary, final);
                } catch (const platform::PlatformError& e) {
                    if (e.Number() != static_cast<int>(platform::ErrorNumber::FileExists))
                        throw;
                    platform::RenameNoReplace(claimPath, requestPath);
                    platform::SyncDirectory(place.folder);
                    return Ansi("Nicht zugestellt, weil der Name schon vergeben ist: ") + final +
                           "\r\n" + Ansi("Die Anforderung liegt wieder an ihrem Platz: ") +
                           requestPath;
                }
            }
        }
        // A .zzz that is gone (or is someone else's by now) was put in place.
        platform::SyncDirectory(settings.PathD);
        platform::RemoveFile(claimPath);
        return Ansi("Zugestellt als ") + final + Ansi("; der Lauf wurde abgeschlossen.");
    }
    if (ownTemporary)
        platform::RemoveFile(temporary);
    try {
        platform::RenameNoReplace(claimPath, requestPath);
    } catch (const platform::PlatformError& e) {
        if (e.Number() != static_cast<int>(platform::ErrorNumber::FileExists))
            throw;
        return Ansi("Nicht zugestellt. Unter ") + requestPath +
               Ansi(" liegt schon eine neue Anforderung; die unterbrochene bleibt als ") +
               claimPath + Ansi(" und wird beim nächsten Start zurückgelegt.");
    }
    platform::SyncDirectory(place.folder);
    return Ansi("Nicht zugestellt; die Anforderung liegt wieder an ihrem Platz: ") + requestPath;
}

} // namespace

void RecoverInterruptedCommits(const config::ProgramSettings& settings,
                               const std::string& workplace, platform::OperatorMessages& messages) {
    if (settings.PathS.empty())
        return;
    const Place place{platform::FolderOf(settings.PathS)};
    const auto failed = [](const platform::PlatformError& e) {
        std::string line = platform::ErrorOccurredMessage(e, "\r\nFehler ");
        if (!e.Detail().empty())
            line += " (" + e.Detail() + ")";
        return line + "\r\n" + Ansi("Beim nächsten Start wird es erneut versucht.");
    };
    std::vector<std::string> lines;
    std::vector<std::string> names;
    try {
        names = platform::ListFiles(place.folder.empty() ? "." : place.folder);
    } catch (const platform::PlatformError& e) {
        // A folder that is not there holds no claim.
        if (e.Number() != static_cast<int>(platform::ErrorNumber::FileNotFound) &&
            e.Number() != static_cast<int>(platform::ErrorNumber::PathNotFound))
            lines.push_back(failed(e));
    }
    for (const std::string& name : names) {
        const auto claim = ParseClaimName(name, workplace);
        if (!claim)
            continue;
        try {
            lines.push_back(Recover(place, name, *claim, settings));
        } catch (const platform::PlatformError& e) {
            lines.push_back(failed(e));
        } catch (const std::bad_alloc&) {
            lines.push_back(failed(platform::PlatformError(platform::ErrorNumber::OutOfMemory)));
        }
    }
    if (lines.empty())
        return;
    std::string text = Ansi("Ein früherer Lauf wurde unterbrochen (etwa durch einen Absturz oder "
                            "Stromausfall). Beim Start wurde er bereinigt:");
    for (const std::string& line : lines)
        text += "\r\n" + line;
    messages.ShowError(text);
}

} // namespace tessaro::gdt
