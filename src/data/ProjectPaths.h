#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// The chosen project file and the folder that holds it. Every data and media
// path is the folder followed by a relative path such as "resource/gfx/".
struct ProjectPaths {
    std::filesystem::path ProjectFilePath;
    std::filesystem::path ProjectFolder;

    // The project file given by the user, made absolute. A path through a
    // symbolic link is kept as the user gave it; one that climbs with ".."
    // is resolved the way the system resolves it (the parent of the folder
    // a link leads to), never by striking out text.
    static ProjectPaths fromProjectFile(const std::filesystem::path& projectFile);
};

// The components of a relative path, split at "/" and "\" (projects are made
// on Windows); empty components from doubled or leading separators are
// dropped.
std::vector<std::string> splitRelativePath(std::string_view relative);

// Projects are made on Windows and may be copied to a file system whose names
// are case-sensitive: each component of `relative` (separated by "/" or "\")
// is found in its parent ignoring letter case. The exact spelling wins when
// several names match. From the first component that matches nothing on, the
// rest is spelled as given, so the result names where the file would be.
std::filesystem::path resolveIgnoringCase(const std::filesystem::path& folder, std::string_view relative);

} // namespace orv
