#pragma once

#include <cstdint>
#include <span>

namespace orv {

// Every whole number of the data files and of the run state is a 16-bit
// signed two's complement value.
using Integer = std::int16_t;

// The bytes of one record (or of one object slot within a scene record).
using RecordBytes = std::span<const std::uint8_t>;

} // namespace orv
