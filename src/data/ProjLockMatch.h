#pragma once

#include "data/Project.h"
#include "data/ProjectPaths.h"
#include "data/Result.h"

namespace orv {

// Checks that record 1 of each of the five data files carries the project
// file's lock value, opening them in the order Orvanta1 to Orvanta5 (a
// missing data file is created empty). Gives the five files, still open, so
// that everything read afterwards comes from the very files whose locks were
// compared. Fails with the first file that could not be opened or read, or,
// when all could, with the first whose lock differs (LockMismatch, both
// values).
Result<ProjectFiles> ProjLockMatch(const ProjectPaths& paths);

} // namespace orv
