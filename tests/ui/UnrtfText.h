#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace orv::testing {

// The plain text that `unrtf --text` reads from an RTF file, without its
// banner, and without the line break it writes after the last paragraph.
// Empty when unrtf is not installed or fails.
std::optional<std::string> unrtfText(const std::filesystem::path& rtfFile);

} // namespace orv::testing
