#pragma once

#include "audit/FolderKind.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace orv {

// What the collection pass made of each 15-byte text field of the scene file,
// keyed by the field's bytes as they stand in the record. A large project
// names the same few thousand files a million times over; with the outcome
// remembered, a field met again costs one hash of its bytes and one compare,
// with nothing decoded, classified or looked up again.
//
// The table has a fixed number of slots and keeps the last field that fell
// into each one: a field pushed out is merely worked out again, which changes
// nothing, since recording a name a second time changes nothing.
class FieldMemo {
  public:
    static constexpr std::size_t Width = 15;
    using Bytes = std::span<const std::uint8_t, Width>;

    enum class Outcome : std::uint8_t {
        NoFile = 1, // names no file: empty, or no "." in it
        Found,      // names a file that is there
        Missing,    // names a file that is not there
    };

    struct Entry {
        std::array<std::uint8_t, Width> bytes{};
        Outcome outcome{};      // 0 in a slot never used
        FolderKind kind{};      // all zero in a slot never used, so the table starts as zeroed memory
        std::uint32_t name = 0; // for Missing, the index of the decoded name
    };

    // Room for about `fields` different fields (at least 1,024 slots and at
    // most about a million, whatever is asked).
    explicit FieldMemo(std::size_t fields);

    // The remembered outcome of these bytes, or null.
    const Entry* find(Bytes bytes) const;
    // Asks for the slot of these bytes ahead of find(), so that the fields of
    // a record are not each waited for in turn.
    void prefetch(Bytes bytes) const { __builtin_prefetch(&slots_[slotOf(bytes)]); }

    // Remembers an outcome; `name` (the decoded field) is kept for Missing.
    const Entry& remember(Bytes bytes, Outcome outcome, FolderKind kind, std::string name);

    // The decoded name of a Missing entry.
    const std::string& name(const Entry& entry) const { return names_[entry.name]; }

    std::size_t slots() const { return slots_.size(); }

  private:
    std::size_t slotOf(Bytes bytes) const {
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

    std::vector<Entry> slots_;
    std::vector<std::string> names_;
    std::unordered_map<std::string, std::uint32_t> nameIndex_;
};

} // namespace orv
