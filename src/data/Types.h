#pragma once

#include <cstdint>

namespace orv {

// Every whole number of the data files and of the run state is a 16-bit
// signed two's complement value.
using Integer = std::int16_t;

} // namespace orv
