#include "gdt/commit.h"

#include "gdt/commit_record.h"
#include "gdt/handover_texts.h"
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
    Commit(const CommitInput& in, platform::OperatorMessages& messages)
        : in_(in), messages_(messages) {}

    CommitOutcome Run() {
        if (!WriteDown())
            return outcome_;
        if (!Claim())
            return outcome_;
        try {
            if (!WriteAndMarkReady())
                return outcome_;
            Publish();
        } catch (const platform::PlatformError& e) {
            return Undo(e);
        } catch (const std::bad_alloc&) {
            return Undo(platform::PlatformError(platform::ErrorNumber::OutOfMemory));
        }
        Report();
        return CommitOutcome::Done;
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
            return End(CommitOutcome::Failed, texts::Failure(e));
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
            if (dynamic_cast<const platform::FileInUse*>(&e) != nullptr)
                return End(CommitOutcome::Kept, texts::RequestInUse(requestPath));
            if (Is(e, platform::ErrorNumber::FileNotFound))
                return End(CommitOutcome::NotDelivered, texts::RequestGone(requestPath));
            if (Is(e, platform::ErrorNumber::PermissionDenied))
                return End(CommitOutcome::Kept, texts::ClaimDenied(requestPath));
            return End(CommitOutcome::Failed, texts::Failure(e));
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
            const bool back = PutBack();
            return End(CommitOutcome::NotDelivered,
                       texts::RequestChanged(back, entry_.requestPath));
        }
        try {
            std::optional<platform::OwnFile> written = WriteResultFile(
                in_.settings, in_.sequenceNumber, in_.requestText, in_.selectionCode, messages_);
            if (written)
                temporary_.emplace(std::move(*written));
        } catch (const platform::PlatformError& e) {
            if (!Is(e, platform::ErrorNumber::FileExists))
                throw;
            // Someone else's file under the name: left alone.
            const bool back = PutBack();
            return End(CommitOutcome::NotDelivered,
                       texts::NameTaken(entry_.temporaryPath, back, entry_.requestPath));
        }
        if (!temporary_) {
            // The folder went away after the look before: nothing written.
            PutBack();
            return End(CommitOutcome::Kept, {});
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
            End(CommitOutcome::Failed, texts::FailedAfterDelivery(e, entry_.finalPath));
        }
    }

    // A failure before the .gdt: the entry taken back to "not delivered"
    // first, then our own .zzz removed by its handle and the request put back,
    // then the entry dropped; where any of that fails, the record keeps what
    // the next start needs to finish.
    CommitOutcome Undo(const platform::PlatformError& e) {
        if (published_) {
            End(CommitOutcome::Failed, texts::FailedAfterDelivery(e, entry_.finalPath));
            return outcome_;
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
        End(CommitOutcome::Failed, texts::FailedBeforeDelivery(e, back));
        return outcome_;
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

    bool End(CommitOutcome outcome, const std::string& text) {
        outcome_ = outcome;
        if (!text.empty())
            messages_.ShowError(text);
        return false;
    }

    const CommitInput& in_;
    platform::OperatorMessages& messages_;
    std::vector<CommitEntry> others_; // interrupted commits still waiting
    CommitEntry entry_;
    std::optional<platform::OwnFile> temporary_;
    bool claimed_ = false;
    bool published_ = false;
    CommitOutcome outcome_ = CommitOutcome::Failed;
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

std::string FailureText(const platform::PlatformError& error, const std::string& deliveredFile) {
    return texts::Failure(error, deliveredFile);
}

CommitOutcome CommitRequest(const CommitInput& in, platform::OperatorMessages& messages) {
    if (in.requestText.empty()) {
        messages.ShowError(texts::NoData());
        return CommitOutcome::NoData;
    }
    if (!IsUsableLumeoId(in.settings.LumeoID)) {
        messages.ShowError(texts::LumeoIdRefused(in.settings.LumeoID));
        return CommitOutcome::Kept;
    }
    if (!ResultFileCanBeWritten(in.settings, in.selectionCode, messages))
        return CommitOutcome::Kept; // nothing touched: the request stays, so does the window
    try {
        return Commit(in, messages).Run();
    } catch (const std::bad_alloc&) {
        messages.ShowError(
            texts::Failure(platform::PlatformError(platform::ErrorNumber::OutOfMemory)));
        return CommitOutcome::Failed;
    }
}

} // namespace tessaro::gdt
