#pragma once

#include <cstdint>
#include <string>

namespace orv {

// The pattern "###,###,###,###": digits in groups of three joined by commas,
// no leading zeros; zero has no digits at all and gives the empty text.
std::string GroupedNumber(std::int64_t value);

// The pattern "###.##" applied to numerator / denominator (denominator > 0):
// rounded to hundredths, an exact half to the even neighbour; no integer
// digits when the integer part is 0, the point always written, no trailing
// zeros after it. 1000/1024 gives ".98", 2 gives "2.", 0 gives ".".
std::string HundredthsNumber(std::int64_t numerator, std::int64_t denominator);

} // namespace orv
