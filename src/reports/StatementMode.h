#pragma once

#include "data/Types.h"

namespace orv {

// What a statement generator is asked to do with a record. Any other value
// does nothing.
inline constexpr Integer MarkUsed = 1;     // strike used flags off the candidate list
inline constexpr Integer CollectFiles = 2; // hand resource file names to the reference sink
inline constexpr Integer Track = 3;        // write a sentence for each statement about TrackedFlag

} // namespace orv
