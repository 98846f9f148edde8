#include "audit/FieldMemo.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace orv {

namespace {

constexpr std::size_t FewestSlots = 1024;
constexpr std::size_t MostSlots = std::size_t{1} << 20;

} // namespace

FieldMemo::FieldMemo(std::size_t fields) : slots_(std::bit_ceil(std::clamp(2 * fields, FewestSlots, MostSlots))) {}

std::size_t FieldMemo::slotOf(Bytes bytes) const {
    // The fifteen bytes as two overlapping words, mixed by multiplication.
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    std::memcpy(&low, bytes.data(), 8);
    std::memcpy(&high, bytes.data() + Width - 8, 8);
    std::uint64_t h = low * 0x9E3779B97F4A7C15ULL ^ std::rotl(high * 0xC2B2AE3D27D4EB4FULL, 31);
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ULL;
    h ^= h >> 32;
    return static_cast<std::size_t>(h) & (slots_.size() - 1);
}

const FieldMemo::Entry* FieldMemo::find(Bytes bytes) const {
    const Entry& entry = slots_[slotOf(bytes)];
    if (entry.outcome == Outcome{} || std::memcmp(entry.bytes.data(), bytes.data(), Width) != 0)
        return nullptr;
    return &entry;
}

const FieldMemo::Entry& FieldMemo::remember(Bytes bytes, Outcome outcome, FolderKind kind, std::string name) {
    Entry& entry = slots_[slotOf(bytes)];
    std::copy(bytes.begin(), bytes.end(), entry.bytes.begin());
    entry.outcome = outcome;
    entry.kind = kind;
    entry.name = 0;
    if (outcome == Outcome::Missing) {
        // Each name is kept once, however often its field is pushed out and
        // met again.
        const auto [at, added] = nameIndex_.try_emplace(name, static_cast<std::uint32_t>(names_.size()));
        if (added)
            names_.push_back(std::move(name));
        entry.name = at->second;
    }
    return entry;
}

} // namespace orv
