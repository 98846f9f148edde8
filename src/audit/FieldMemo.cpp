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
