#pragma once

#include "data/Failure.h"

#include <string>
#include <string_view>

namespace orv::ui {

// How the desktop words a failure in its message boxes. CR is the system's
// line break inside message texts.

// The error number a failure is known by ("Error #53"): a missing file 53,
// a missing folder 76, no permission 70, a device error 57, too many
// records 10001, anything else 75.
int ErrorNumber(const Failure& failure);

// "Unexpected error in procedure: NAME", CR LF, "Error #", the number, ": "
// and the description naming the file.
std::string UnexpectedError(std::string_view procedure, const Failure& failure);

// `lead`, CR, and the description naming the file and the reason.
std::string FailureMessage(std::string_view lead, const Failure& failure);

} // namespace orv::ui
