#pragma once

#include "data/Types.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orv {

// One row of a record layout table: where a field lies, what it is, and how
// many elements a fixed array of it holds. Unnamed rows are carried at their
// place and never interpreted; they are declared so that every byte of a
// record is accounted for.
struct FieldType {
    bool isText;
    std::size_t width; // bytes of one element
};

inline constexpr FieldType Integer16{false, 2};
constexpr FieldType String(std::size_t n) {
    return FieldType{true, n};
}

struct Field {
    std::size_t offset;
    FieldType type;
    std::size_t count = 1;
    std::string_view name = {};

    constexpr std::size_t size() const { return type.width * count; }
    constexpr std::size_t end() const { return offset + size(); }
    // Offset of element k (from 1) of a fixed array.
    constexpr std::size_t at(std::size_t k) const { return offset + type.width * (k - 1); }
};

// True when the rows follow each other with no gap and no overlap and cover
// exactly `length` bytes: the record is packed.
template <std::size_t N> consteval bool tilesRecord(const Field (&table)[N], std::size_t length) {
    std::size_t next = 0;
    for (const Field& f : table) {
        if (f.offset != next || f.count == 0)
            return false;
        next = f.end();
    }
    return next == length;
}

// The row named `name`; naming a field that the table lacks does not compile.
template <std::size_t N> consteval Field field(const Field (&table)[N], std::string_view name) {
    for (const Field& f : table)
        if (f.name == name)
            return f;
    throw "no such field in the layout table";
}

// True when a text field of the given width starts at `offset`, alone or as
// an element of an array row.
template <std::size_t N> consteval bool hasTextAt(const Field (&table)[N], std::size_t offset, std::size_t width) {
    for (const Field& f : table)
        if (f.type.isText && f.type.width == width && offset >= f.offset && offset < f.end() &&
            (offset - f.offset) % width == 0)
            return true;
    return false;
}

// Little-endian reads from a record's bytes. The caller's record is always
// whole (readRecord pads with zeros), so offsets within the layout are safe;
// the bounds are still checked, and a field past the end reads as zeros.
inline Integer readInteger(std::span<const std::uint8_t> record, std::size_t offset) {
    const std::uint8_t lo = offset < record.size() ? record[offset] : 0;
    const std::uint8_t hi = offset + 1 < record.size() ? record[offset + 1] : 0;
    return static_cast<Integer>(static_cast<std::uint16_t>(lo | (hi << 8)));
}

// A text field: trimmed of blanks at both ends (or at the right end only),
// decoded from Windows-1252. A field made only of zero bytes is the empty text.
enum class Trim { Both, RightOnly };
std::string readText(std::span<const std::uint8_t> record, std::size_t offset, std::size_t width,
                     Trim trim = Trim::Both);

inline Integer readInteger(std::span<const std::uint8_t> record, const Field& f, std::size_t k = 1) {
    return readInteger(record, f.at(k));
}
inline std::string readText(std::span<const std::uint8_t> record, const Field& f, std::size_t k = 1,
                            Trim trim = Trim::Both) {
    return readText(record, f.at(k), f.type.width, trim);
}

} // namespace orv
