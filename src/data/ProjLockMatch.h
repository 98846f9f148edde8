#pragma once

#include "data/Failure.h"
#include "data/ProjectPaths.h"

#include <optional>
#include <string>

namespace orv {

struct LockCheck {
    bool matched = false;
    // Set when the check itself failed (a file that could not be opened or
    // read): "Unexpected error in procedure: ProjLockMatch", CR LF,
    // "Error #", the number, ": " and the description naming the file.
    std::optional<std::string> unexpectedError;
    // Why the check failed, as a value: the file that could not be opened
    // or read, or the first data file whose lock differs, with both values.
    std::optional<Failure> failure;
};

// Checks that record 1 of each of the five data files carries the project
// file's lock value. Opens and closes every file itself (a missing data file
// is created empty); changes no state.
LockCheck ProjLockMatch(const ProjectPaths& paths);

} // namespace orv
