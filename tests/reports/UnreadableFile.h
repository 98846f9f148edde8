#pragma once

#include <filesystem>

namespace orv::testing {

// Makes every later read through this process's open handle on `file` fail,
// as a damaged disk would: the handle's descriptor is pointed at a folder.
// Reads already buffered may still succeed. Returns false when no open
// handle on the file was found.
bool makeOpenFileUnreadable(const std::filesystem::path& file);

} // namespace orv::testing
