#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

class FolderHandle;

// How a name read from a media folder is shown: every control character
// (C0, DEL, C1) and every byte that is not part of valid UTF-8 becomes
// U+FFFD, so a name is always one line of valid UTF-8 and cannot forge
// lines of a report or drive a terminal. The file itself keeps being
// handled under its real name.
std::string DisplayName(std::string_view diskName);

// The size of the file `name` in `folder` (a link is followed), opened
// relative to the folder so that long paths work; empty when it cannot be
// measured.
std::optional<std::uintmax_t> SizeOfFile(const std::filesystem::path& folder, const std::string& name);
std::optional<std::uintmax_t> SizeOfFile(const FolderHandle& folder, const std::string& name);

} // namespace orv
