#include "audit/ResourceFolders.h"

#include "audit/FolderIndex.h"
#include "data/Text.h"

namespace orv {

std::optional<FolderKind> ReferenceKind(std::string_view name) {
    if (name.empty() || name.find('.') == std::string_view::npos)
        return std::nullopt;
    const std::string ending = foldCase(lastCharacters(name, 3));
    if (ending == "mp3" || ending == "wav" || ending == "mid" || ending == "avi")
        return FolderKind::Mmedia;
    return FolderKind::Gfx;
}

std::string_view ResourceFolderName(FolderKind kind) {
    return kind == FolderKind::Mmedia ? "resource/mmedia" : "resource/gfx";
}

std::filesystem::path ResourceFolder(const std::filesystem::path& projectFolder, FolderKind kind, FolderIndex& index) {
    const std::string_view relative = ResourceFolderName(kind);
    if (auto found = index.findFolder(projectFolder, relative))
        return *found;
    return projectFolder / relative;
}

std::filesystem::path ResourceFolder(const std::filesystem::path& projectFolder, FolderKind kind) {
    FolderIndex index;
    return ResourceFolder(projectFolder, kind, index);
}

} // namespace orv
