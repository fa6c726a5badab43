#include "platform/instance_lock.h"

#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/fnv1a.h"

#include <cstring>

namespace tessaro::platform {
namespace {

// A slot: magic, generation, length, checksum, then the record's bytes.
constexpr char kMagic[4] = {'T', 'R', 'E', 'C'};
constexpr std::size_t kHeaderBytes = 4 + 8 + 8 + 8;
constexpr std::uint64_t kSlotBytes = kHeaderBytes + kMaxRecordBytes;

void PutNumber(std::string& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint64_t GetNumber(std::string_view in) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(in[static_cast<std::size_t>(i)]);
    return value;
}

// FNV-1a over generation, length and bytes: a torn or stale slot does not
// check out.
std::uint64_t Checksum(std::uint64_t generation, std::string_view bytes) {
    std::string head;
    PutNumber(head, generation);
    PutNumber(head, bytes.size());
    return Fnv1a({head, bytes});
}

} // namespace

InstanceLock::Slot InstanceLock::ReadSlot(int index) const {
    const std::uint64_t at = static_cast<std::uint64_t>(index) * kSlotBytes;
    const std::string head = ReadAt(at, kHeaderBytes);
    Slot slot;
    if (head.size() != kHeaderBytes || std::memcmp(head.data(), kMagic, sizeof kMagic) != 0)
        return slot;
    const std::string_view view(head);
    const std::uint64_t generation = GetNumber(view.substr(4));
    const std::uint64_t length = GetNumber(view.substr(12));
    if (length > kMaxRecordBytes)
        return slot;
    std::string bytes = ReadAt(at + kHeaderBytes, static_cast<std::size_t>(length));
    if (bytes.size() != length || Checksum(generation, bytes) != GetNumber(view.substr(20)))
        return slot;
    slot.generation = generation;
    slot.payload = std::move(bytes);
    return slot;
}

int InstanceLock::Current(const Slot slots[2]) const {
    if (!slots[0].payload && !slots[1].payload)
        return -1;
    if (!slots[1].payload)
        return 0;
    if (!slots[0].payload)
        return 1;
    return slots[1].generation > slots[0].generation ? 1 : 0;
}

std::optional<std::string> InstanceLock::Read() const {
    if (!held_)
        throw PlatformError(ErrorNumber::PermissionDenied, path_);
    const Slot slots[2] = {ReadSlot(0), ReadSlot(1)};
    const int current = Current(slots);
    if (current < 0 || slots[current].payload->empty())
        return std::nullopt; // never written, cleared, or torn before its first write was whole
    return slots[current].payload;
}

void InstanceLock::Write(std::string_view bytes) {
    if (!held_)
        throw PlatformError(ErrorNumber::PermissionDenied, path_);
    if (bytes.size() > kMaxRecordBytes)
        throw PlatformError(ErrorNumber::Overflow, path_);
    const Slot slots[2] = {ReadSlot(0), ReadSlot(1)};
    const int current = Current(slots);
    const int target = current == 0 ? 1 : 0;
    const std::uint64_t generation = current < 0 ? 1 : slots[current].generation + 1;
    std::string slot(kMagic, sizeof kMagic);
    PutNumber(slot, generation);
    PutNumber(slot, bytes.size());
    PutNumber(slot, Checksum(generation, bytes));
    slot += bytes;
    WriteAt(static_cast<std::uint64_t>(target) * kSlotBytes, slot);
}

void InstanceLock::Clear() {
    Write({});
}

void InstanceLock::Refuse(const std::string& reason) {
    failure_ = cp1252::Ansi("Tessaro kann nicht starten: Die Sperrdatei ") + kLockFileName +
               cp1252::Ansi(" im Programmverzeichnis kann nicht gesperrt werden (") + reason +
               cp1252::Ansi("). Ohne sie könnten zwei Tessaro dieselbe Anfrage und denselben "
                            "Zähler verwenden. Jeder, der Tessaro hier startet, muss diese "
                            "Datei schreiben dürfen.");
}

} // namespace tessaro::platform
