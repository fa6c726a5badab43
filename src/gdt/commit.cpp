#include "gdt/commit.h"

#include "gdt/commit_record.h"
#include "gdt/result_writer.h"
#include "platform/file_facts.h"
#include "platform/files.h"

#include <algorithm>
#include <new>
#include <optional>

namespace tessaro::gdt {
namespace {

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

// Windows takes these for devices in any folder, whatever follows the first
// dot and whatever the case; the superscript digits (Windows-1252 B9, B2, B3)
// count as digits there.
bool IsDeviceName(std::string_view id) {
    std::string base(id.substr(0, id.find('.')));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    std::transform(base.begin(), base.end(), base.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL")
        return true;
    if (base.size() != 4 || (base.rfind("COM", 0) != 0 && base.rfind("LPT", 0) != 0))
        return false;
    const char d = base[3];
    return (d >= '1' && d <= '9') || d == '\xB9' || d == '\xB2' || d == '\xB3';
}

bool Is(const platform::PlatformError& e, platform::ErrorNumber number) {
    return e.Number() == static_cast<int>(number);
}

// One commit, stage by stage. Each stage either moves on or ends the commit
// with its outcome said; the record always says enough for the next start to
// finish or undo what this one leaves.
class Commit {
public:
    explicit Commit(const CommitInput& in) : in_(in) {}

    CommitReport Run() {
        if (!WriteDown() || !Claim())
            return report_;
        try {
            if (!WriteAndMarkReady())
                return report_;
            Publish();
        } catch (const platform::PlatformError& e) {
            Undo(e);
            return report_;
        } catch (const std::bad_alloc&) {
            Undo(platform::PlatformError(platform::ErrorNumber::OutOfMemory));
            return report_;
        }
        report_.outcome = CommitOutcome::Done;
        Report();
        return report_;
    }

private:
    // Stage 1: what the commit will do, in the record, before any file is
    // touched. The target folder's identity goes with it, so that the next
    // start can tell the folder from an empty mount point in its place.
    bool WriteDown() {
        try {
            others_ = LoadEntries(in_.record);
            const std::string& requestPath = in_.importedPath;
            entry_.runId = platform::NewRunId();
            entry_.requestPath = requestPath;
            entry_.claimPath = ClaimPathFor(requestPath, entry_.runId);
            entry_.pathD = in_.settings.PathD;
            entry_.pathDIdentity = platform::FolderIdentity(in_.settings.PathD).value_or("");
            entry_.temporaryPath = TemporaryFileName(in_.settings, in_.sequenceNumber);
            entry_.finalPath = FinalFileName(in_.settings, in_.sequenceNumber);
            entry_.line = ResultLine(in_.settings, in_.selectionCode);
            entry_.resultSize = in_.requestText.size() + entry_.line.size();
            entry_.resultHash = ContentHash({in_.requestText, entry_.line});
            Save(true);
            return true;
        } catch (const platform::PlatformError& e) {
            return End(CommitOutcome::Failed, CommitSaid::Failure, e);
        }
    }

    // Stage 2: the request taken away from its path, so no one else delivers
    // it; durable before anything says the result is ready.
    bool Claim() {
        const std::string& requestPath = entry_.requestPath;
        try {
            platform::RenameNoReplace(requestPath, entry_.claimPath);
        } catch (const platform::PlatformError& e) {
            Forget();
            report_.path = requestPath;
            if (dynamic_cast<const platform::FileInUse*>(&e) != nullptr)
                return End(CommitOutcome::Kept, CommitSaid::RequestInUse);
            if (Is(e, platform::ErrorNumber::FileNotFound))
                return End(CommitOutcome::NotDelivered, CommitSaid::RequestGone);
            if (Is(e, platform::ErrorNumber::PermissionDenied))
                return End(CommitOutcome::Kept, CommitSaid::ClaimDenied);
            return End(CommitOutcome::Failed, CommitSaid::Failure, e);
        }
        claimed_ = true;
        return true;
    }

    // Stage 3: the .zzz created exclusively, written whole and synced, its
    // name made durable, then the record marked ready. From then on a .zzz
    // that is gone from the same folder has become the .gdt.
    bool WriteAndMarkReady() {
        platform::SyncDirectory(platform::FolderOf(entry_.requestPath));
        if (!platform::FileHoldsExactly(entry_.claimPath, in_.requestText)) {
            report_.back = PutBack();
            report_.path = entry_.requestPath;
            return End(CommitOutcome::NotDelivered, CommitSaid::RequestChanged);
        }
        try {
            std::optional<platform::OwnFile> written = WriteResultFile(
                in_.settings, in_.sequenceNumber, in_.requestText, in_.selectionCode);
            if (written)
                temporary_.emplace(std::move(*written));
        } catch (const platform::PlatformError& e) {
            if (!Is(e, platform::ErrorNumber::FileExists))
                throw;
            // Someone else's file under the name: left alone.
            report_.back = PutBack();
            report_.path = entry_.temporaryPath;
            report_.second = entry_.requestPath;
            return End(CommitOutcome::NotDelivered, CommitSaid::NameTaken);
        }
        if (!temporary_) {
            // The folder went away after the look before: nothing written.
            PutBack();
            report_.path = in_.settings.PathD;
            return End(CommitOutcome::Kept, CommitSaid::TargetFolderMissing);
        }
        platform::SyncDirectory(in_.settings.PathD);
        entry_.stage = CommitStage::Ready;
        Save(true);
        return true;
    }

    // Stage 4: exactly that file under its final name, and the name durable.
    void Publish() {
        temporary_->RenameNoReplace(entry_.finalPath);
        published_ = true;
        temporary_.reset(); // closed, so the receiving system may take it at once
        platform::SyncDirectory(in_.settings.PathD);
    }

    // Stage 5: the claim and the record's entry removed. A failure here
    // leaves the ready entry, from which the next start finishes.
    void Report() {
        try {
            platform::RemoveFile(entry_.claimPath);
            Save(false);
        } catch (const platform::PlatformError& e) {
            report_.path = entry_.finalPath;
            End(CommitOutcome::Failed, CommitSaid::FailedAfterDelivery, e);
        }
    }

    // A failure before the .gdt: the entry taken back to "not delivered"
    // first, then our own .zzz removed by its handle and the request put back,
    // then the entry dropped; where any of that fails, the record keeps what
    // the next start needs to finish.
    void Undo(const platform::PlatformError& e) {
        if (published_) {
            report_.path = entry_.finalPath;
            End(CommitOutcome::Failed, CommitSaid::FailedAfterDelivery, e);
            return;
        }
        bool back = false;
        try {
            if (entry_.stage == CommitStage::Ready) {
                entry_.stage = CommitStage::Claiming;
                Save(true);
            }
            if (temporary_) {
                temporary_->Remove();
                temporary_.reset();
            }
            back = PutBack();
        } catch (const platform::PlatformError&) {
        }
        report_.back = back;
        End(CommitOutcome::Failed, CommitSaid::FailedBeforeDelivery, e);
    }

    // Back under the name it came from, and the entry dropped; false when
    // that cannot be done now (a newer request stands there, the disk fails),
    // in which case the entry stays for the next start to put it back.
    bool PutBack() {
        if (claimed_) {
            try {
                platform::RenameNoReplace(entry_.claimPath, entry_.requestPath);
                platform::SyncDirectory(platform::FolderOf(entry_.requestPath));
            } catch (const platform::PlatformError&) {
                return false;
            }
            claimed_ = false;
        }
        Forget();
        return true;
    }

    // The entry dropped from the record, once nothing of it is left to do.
    void Forget() {
        try {
            Save(false);
        } catch (const platform::PlatformError&) {
            // Left in the record: the next start finds nothing to do for it.
        }
    }

    void Save(bool withOurs) {
        std::vector<CommitEntry> entries = others_;
        if (withOurs)
            entries.push_back(entry_);
        SaveEntries(in_.record, entries);
    }

    bool End(CommitOutcome outcome, CommitSaid said,
             const std::optional<platform::PlatformError>& error = std::nullopt) {
        report_.outcome = outcome;
        report_.said = said;
        report_.error = error;
        return false;
    }

    const CommitInput& in_;
    CommitReport report_;
    std::vector<CommitEntry> others_; // interrupted commits still waiting
    CommitEntry entry_;
    std::optional<platform::OwnFile> temporary_;
    bool claimed_ = false;
    bool published_ = false;
};

} // namespace

bool IsUsableLumeoId(std::string_view id) {
    for (const char ch : id)
        if (ch == '/' || ch == '\\' || IsControl(static_cast<unsigned char>(ch)) ||
            std::string_view(":*?\"<>|").find(ch) != std::string_view::npos)
            return false;
    if (!id.empty() && (id.back() == '.' || id.back() == ' '))
        return false;
    return !IsDeviceName(id);
}

CommitReport CommitRequest(const CommitInput& in) {
    CommitReport report;
    if (in.requestText.empty()) {
        report.outcome = CommitOutcome::NoData;
        report.said = CommitSaid::NoData;
        return report;
    }
    report.outcome = CommitOutcome::Kept; // nothing touched: the request stays, so does the window
    if (!IsUsableLumeoId(in.settings.LumeoID)) {
        report.said = CommitSaid::LumeoIdRefused;
        report.path = in.settings.LumeoID;
        return report;
    }
    switch (ResultFileCanBeWritten(in.settings, in.selectionCode)) {
    case ResultRefusal::TargetFolderMissing:
        report.said = CommitSaid::TargetFolderMissing;
        report.path = in.settings.PathD;
        return report;
    case ResultRefusal::CodeTooLong:
        report.said = CommitSaid::CodeTooLong;
        return report;
    case ResultRefusal::None:
        break;
    }
    try {
        return Commit(in).Run();
    } catch (const std::bad_alloc&) {
        report.outcome = CommitOutcome::Failed;
        report.said = CommitSaid::Failure;
        report.error = platform::PlatformError(platform::ErrorNumber::OutOfMemory);
        return report;
    }
}

} // namespace tessaro::gdt
