#include "gdt/recovery.h"

#include "gdt/commit_record.h"
#include "gdt/request_import.h"
#include "gdt/result_writer.h"
#include "platform/errors.h"
#include "platform/file_facts.h"
#include "platform/files.h"

#include <new>
#include <optional>
#include <vector>

namespace tessaro::gdt {
namespace {

using platform::FileFacts;

enum class Result { Finished, Kept };

struct Step {
    Result result;
    RecoveryLine line;
};

RecoveryLine Line(RecoverySaid said, std::string path, std::string second = {}) {
    return {said, std::move(path), std::move(second), std::nullopt};
}

RecoveryLine Failed(const platform::PlatformError& error) {
    return {RecoverySaid::Failed, {}, {}, error};
}

// A name that holds a plain file of ours (never a link, never a stranger's).
std::optional<FileFacts> Ours(const std::string& path) {
    std::optional<FileFacts> facts = platform::LookAt(path);
    if (facts && (!facts->regular || !facts->ours))
        throw platform::PlatformError(platform::ErrorNumber::PathFileAccess, path);
    return facts;
}

bool Present(const std::string& path) {
    return platform::LookAt(path).has_value();
}

// The target folder as the commit knew it: reachable and the same folder.
bool SameTargetFolder(const CommitEntry& e) {
    try {
        const std::optional<std::string> id = platform::FolderIdentity(e.pathD);
        return id && !e.pathDIdentity.empty() && *id == e.pathDIdentity;
    } catch (const platform::PlatformError&) {
        return false; // cannot be told now: as if away
    }
}

// A plain file of ours at the path that holds exactly the run's result.
bool HoldsResult(const CommitEntry& e, const std::string& path,
                 const std::optional<FileFacts>& facts) {
    if (!facts || !facts->regular || !facts->ours || facts->size != e.resultSize)
        return false;
    const std::string bytes = platform::ReadOwnFile(path, kMaxRequestBytes + kMaxLineBytes);
    return ContentHash({bytes}) == e.resultHash;
}

// A .zzz this run wrote, cut short or whole: what it holds is what the run
// wrote there, except where a power loss left zeroes in place of data that
// never reached the disk. Another run's file holds another request.
bool WrittenFrom(std::string_view written, std::string_view expected) {
    if (written.size() > expected.size())
        return false;
    for (std::size_t i = 0; i < written.size(); ++i)
        if (written[i] != expected[i] && written[i] != '\0')
            return false;
    return true;
}

// The request's own name where it stands beside its claim as one file (a
// rename that fell back to link and unlink, cut between the two): the
// request's name goes too, or it would be delivered again.
void RemoveRequestNameOf(const CommitEntry& e, const FileFacts& claim) {
    const std::optional<FileFacts> request = platform::LookAt(e.requestPath);
    if (request && request->SameFile(claim))
        platform::RemoveFile(e.requestPath);
}

// Not delivered: our .zzz removed, cut or complete, then the claim put back.
Step Undo(const CommitEntry& e) {
    const std::optional<FileFacts> claim = Ours(e.claimPath);
    if (const std::optional<FileFacts> zzz = platform::LookAt(e.temporaryPath);
        zzz && zzz->regular && zzz->ours && claim && zzz->size <= e.resultSize) {
        const std::string written =
            platform::ReadOwnFile(e.temporaryPath, kMaxRequestBytes + kMaxLineBytes);
        const std::string claimed = platform::ReadOwnFile(e.claimPath, kMaxRequestBytes) + e.line;
        if (WrittenFrom(written, claimed))
            platform::RemoveFile(e.temporaryPath);
    }
    if (!claim)
        return {Result::Finished, Present(e.requestPath)
                                      ? Line(RecoverySaid::Back, e.requestPath)
                                      : Line(RecoverySaid::RequestGone, e.requestPath)};
    const std::optional<FileFacts> request = platform::LookAt(e.requestPath);
    if (request && request->SameFile(*claim)) {
        platform::RemoveFile(e.claimPath); // one file under both names: the claim's goes
        return {Result::Finished, Line(RecoverySaid::Back, e.requestPath)};
    }
    try {
        platform::RenameNoReplace(e.claimPath, e.requestPath);
    } catch (const platform::PlatformError& error) {
        if (error.Number() != static_cast<int>(platform::ErrorNumber::FileExists))
            throw;
        return {Result::Kept, Line(RecoverySaid::NewerRequest, e.requestPath, e.claimPath)};
    }
    platform::SyncDirectory(platform::FolderOf(e.requestPath));
    return {Result::Finished, Line(RecoverySaid::Back, e.requestPath)};
}

// Delivered: the claim removed (and the request's name where it is the same
// file), so the request is not offered again.
Step Finish(const CommitEntry& e) {
    if (const std::optional<FileFacts> claim = Ours(e.claimPath)) {
        RemoveRequestNameOf(e, *claim);
        platform::RemoveFile(e.claimPath);
    }
    return {Result::Finished, Line(RecoverySaid::Delivered, e.finalPath)};
}

Step RecoverReady(const CommitEntry& e) {
    const std::optional<FileFacts> gdt = platform::LookAt(e.finalPath);
    const bool gdtOurs = HoldsResult(e, e.finalPath, gdt);
    const std::optional<FileFacts> zzz = platform::LookAt(e.temporaryPath);
    const bool zzzOurs = HoldsResult(e, e.temporaryPath, zzz);
    if (gdtOurs) {
        // Seen with the run's bytes: delivered, wherever the folder is now.
        if (zzzOurs && zzz->SameFile(*gdt))
            platform::RemoveFile(e.temporaryPath); // the old name of a link-and-unlink
        return Finish(e);
    }
    if (!SameTargetFolder(e))
        return {Result::Kept, Line(RecoverySaid::Undecided, e.pathD, e.finalPath)};
    if (!zzzOurs)
        return Finish(e); // complete and durable, and gone from the same folder: taken in
    try {
        platform::RenameNoReplace(e.temporaryPath, e.finalPath);
    } catch (const platform::PlatformError& error) {
        if (error.Number() != static_cast<int>(platform::ErrorNumber::FileExists))
            throw;
        // Someone else's file under the final name: ours is not delivered.
        platform::RemoveFile(e.temporaryPath);
        const Step back = Undo(e);
        return {back.result, back.result == Result::Finished
                                 ? Line(RecoverySaid::NameTaken, e.finalPath, e.requestPath)
                                 : back.line};
    }
    platform::SyncDirectory(e.pathD);
    return Finish(e);
}

Step Recover(const CommitEntry& e) {
    if (e.stage == CommitStage::Ready)
        return RecoverReady(e);
    // Not delivered, for certain; the target folder is still needed to take
    // our .zzz away, so that no patient data stays there.
    if (!SameTargetFolder(e))
        return {Result::Kept, Line(RecoverySaid::Undecided, e.pathD, e.finalPath)};
    return Undo(e);
}

} // namespace

RecoveryReport RecoverInterruptedCommits(platform::RecordStore& record) {
    RecoveryReport report;
    std::vector<CommitEntry> entries;
    try {
        entries = LoadEntries(record);
    } catch (const platform::PlatformError& e) {
        report.lines.push_back(Failed(e));
        report.allFinished = false;
        return report;
    }
    std::vector<CommitEntry> kept;
    for (const CommitEntry& entry : entries) {
        Step step{Result::Kept, {}};
        try {
            step = Recover(entry);
        } catch (const platform::PlatformError& e) {
            // A stranger's file in our place is left as it is, and said once:
            // the next start would find the same.
            const bool notOurs =
                e.Number() == static_cast<int>(platform::ErrorNumber::PathFileAccess) &&
                !e.Detail().empty();
            step = {notOurs ? Result::Finished : Result::Kept,
                    notOurs ? Line(RecoverySaid::NotOurs, e.Detail()) : Failed(e)};
        } catch (const std::bad_alloc&) {
            step.line = Failed(platform::PlatformError(platform::ErrorNumber::OutOfMemory));
        }
        if (step.result == Result::Kept)
            kept.push_back(entry);
        report.lines.push_back(step.line);
    }
    try {
        if (kept.size() != entries.size()) // nothing decided: the record stays as it is
            SaveEntries(record, kept);
    } catch (const platform::PlatformError& e) {
        report.lines.push_back(Failed(e));
    }
    report.allFinished = kept.empty();
    return report;
}

} // namespace tessaro::gdt
