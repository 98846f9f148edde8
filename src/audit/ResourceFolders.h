#pragma once

#include "audit/FolderKind.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace orv {

class FolderIndex;

// The folder a reference belongs to, decided by its last three characters in
// lower case alone ("mp3", "wav", "mid", "avi": mmedia; anything else: gfx),
// so song.mpeg is a picture. Empty for a reference the audit ignores: an
// empty one, or one without a "." anywhere.
std::optional<FolderKind> ReferenceKind(std::string_view name);

// "resource/gfx" or "resource/mmedia", relative to the project folder.
std::string_view ResourceFolderName(FolderKind kind);

// The media folder of a kind in a project, each component found ignoring
// letter case; spelled as above when it does not exist.
std::filesystem::path ResourceFolder(const std::filesystem::path& projectFolder, FolderKind kind, FolderIndex& index);
std::filesystem::path ResourceFolder(const std::filesystem::path& projectFolder, FolderKind kind);

} // namespace orv
