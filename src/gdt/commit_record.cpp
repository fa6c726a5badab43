#include "gdt/commit_record.h"

#include "platform/errors.h"
#include "platform/fnv1a.h"
#include "platform/instance_lock.h"

#include <charconv>

namespace tessaro::gdt {
namespace {

constexpr std::string_view kHead = "tessaro-commits 1\n";

// One field: its length in decimal, ":", the bytes, "\n"; a path may hold
// any byte, so nothing is escaped.
void Put(std::string& out, std::string_view bytes) {
    out += std::to_string(bytes.size());
    out += ':';
    out += bytes;
    out += '\n';
}

void PutNumber(std::string& out, std::uint64_t value) {
    Put(out, std::to_string(value));
}

class Reader {
public:
    explicit Reader(std::string_view in) : in_(in) {}
    bool Text(std::string& into) {
        const auto colon = in_.find(':');
        std::size_t size = 0;
        if (colon == std::string_view::npos ||
            std::from_chars(in_.data(), in_.data() + colon, size).ptr != in_.data() + colon ||
            in_.size() - colon - 1 < size + 1 || in_[colon + 1 + size] != '\n')
            return false;
        into.assign(in_.substr(colon + 1, size));
        in_.remove_prefix(colon + size + 2);
        return true;
    }
    bool Number(std::uint64_t& into) {
        std::string text;
        return Text(text) && !text.empty() &&
               std::from_chars(text.data(), text.data() + text.size(), into).ptr ==
                   text.data() + text.size();
    }
    bool AtEnd() const { return in_.empty(); }

private:
    std::string_view in_;
};

} // namespace

std::uint64_t ContentHash(std::initializer_list<std::string_view> parts) {
    return platform::Fnv1a(parts);
}

std::string ClaimPathFor(const std::string& requestPath, const std::string& runId) {
    return requestPath + ".tessaro-" + runId + ".claim";
}

std::string SerializeEntries(const std::vector<CommitEntry>& entries) {
    std::string out(kHead);
    PutNumber(out, entries.size());
    for (const CommitEntry& e : entries) {
        Put(out, e.runId);
        PutNumber(out, static_cast<std::uint64_t>(e.stage));
        for (const std::string* text : {&e.requestPath, &e.claimPath, &e.pathD, &e.pathDIdentity,
                                        &e.temporaryPath, &e.finalPath, &e.line})
            Put(out, *text);
        for (const std::uint64_t n : {e.resultSize, e.resultHash})
            PutNumber(out, n);
    }
    return out;
}

std::optional<std::vector<CommitEntry>> ParseEntries(std::string_view bytes) {
    if (!bytes.starts_with(kHead))
        return std::nullopt;
    Reader in(bytes.substr(kHead.size()));
    std::uint64_t count = 0;
    if (!in.Number(count) || count > 1000)
        return std::nullopt;
    std::vector<CommitEntry> entries(static_cast<std::size_t>(count));
    for (CommitEntry& e : entries) {
        std::uint64_t stage = 0;
        if (!in.Text(e.runId) || !in.Number(stage) ||
            (stage != static_cast<std::uint64_t>(CommitStage::Claiming) &&
             stage != static_cast<std::uint64_t>(CommitStage::Ready)))
            return std::nullopt;
        e.stage = static_cast<CommitStage>(stage);
        for (std::string* text : {&e.requestPath, &e.claimPath, &e.pathD, &e.pathDIdentity,
                                  &e.temporaryPath, &e.finalPath, &e.line})
            if (!in.Text(*text))
                return std::nullopt;
        for (std::uint64_t* n : {&e.resultSize, &e.resultHash})
            if (!in.Number(*n))
                return std::nullopt;
    }
    if (!in.AtEnd())
        return std::nullopt;
    return entries;
}

std::vector<CommitEntry> LoadEntries(const platform::RecordStore& store) {
    const std::optional<std::string> bytes = store.Read();
    if (!bytes)
        return {};
    std::optional<std::vector<CommitEntry>> entries = ParseEntries(*bytes);
    if (!entries)
        throw platform::PlatformError(platform::ErrorNumber::PathFileAccess,
                                      platform::kLockFileName);
    return std::move(*entries);
}

void SaveEntries(platform::RecordStore& store, const std::vector<CommitEntry>& entries) {
    if (entries.empty())
        store.Clear();
    else
        store.Write(SerializeEntries(entries));
}

} // namespace tessaro::gdt
