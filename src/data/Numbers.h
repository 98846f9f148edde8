#pragma once

#include "data/Types.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace orv {

// Reads the leading number of a text, the way the authoring tool reads
// numbers held in text fields and the flag picker reads its box: blanks, tabs
// and line feeds are skipped wherever they stand; then an optional sign,
// digits, an optional "." and more digits; reading stops at the first other
// character. No digits at all gives 0. There is no exponent and no base
// prefix.
double LeadingNumber(std::string_view text);

// Rounds to the nearest whole number, a fraction of exactly one half going to
// the even neighbour. Empty when the result does not fit the target type.
std::optional<std::int64_t> roundHalfEven(double value);
std::optional<Integer> roundToInteger(double value);

// A flag number typed as text, read as the flag picker reads it: the leading
// number rounded half to even. Empty when it does not fit a 16-bit Integer.
std::optional<Integer> ReadFlagNumber(std::string_view text);

// Whole-number division rounded half to even; den must be positive.
std::int64_t divideHalfEven(std::int64_t num, std::int64_t den);

} // namespace orv
