#pragma once

#include "data/Failure.h"
#include "data/ProjectPaths.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// Why the report may not be written to `output`, or empty when it may: the
// path is, or reaches through links (same device and inode), the project
// file or one of its five data files, or it lies (existing or new, through
// links or not) inside the project's resource folder.
std::optional<std::string> RefusedOutput(const std::filesystem::path& output, const ProjectPaths& paths);

// Writes `bytes`, then `tail`, to `output` (created, or emptied first) and
// checks every write and the close. Returns the failure, or empty. The tail
// spares a caller copying a report of hundreds of megabytes to end it with a
// line feed.
std::optional<Failure> WriteOutputFile(const std::filesystem::path& output, std::string_view bytes,
                                       std::string_view tail = {});

} // namespace orv
