#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// Listings of folders, each read from disk once and kept for the life of the
// index (one collection pass), so that many references cost one listing per
// folder. Names are matched ignoring letter case, because projects are made
// on Windows and may be copied to a file system that tells case apart.
class FolderIndex {
  public:
    struct Entry {
        std::string name;   // as on disk, bytes unchanged
        std::string folded; // foldCase(name)
        bool file = false;  // an ordinary file, or a link to one
        bool folder = false;
        bool hidden = false; // begins with "."
    };

    // The entries of `folder` in listing order (see ListedBefore). A folder
    // that does not exist or cannot be read lists as empty.
    const std::vector<Entry>& entries(const std::filesystem::path& folder);

    // The ordinary files of `folder` that are not hidden, spelled as on disk,
    // in listing order.
    std::vector<std::string> files(const std::filesystem::path& folder);

    // The folder `relative` ("/" or "\" between components) below `base`,
    // each component found ignoring letter case (the exact spelling first).
    // Empty when some component is not there.
    std::optional<std::filesystem::path> findFolder(const std::filesystem::path& base, std::string_view relative);

    // True when `relative` names an ordinary file that is not hidden below
    // `folder`; "\" and "/" separate folders, and every component is found
    // ignoring letter case. Never throws for what lies on disk.
    bool fileExists(const std::filesystem::path& folder, std::string_view relative);

    // 0 when `folder` was listed; otherwise the errno of the failure
    // (ENOENT for a folder that is not there at all).
    int listingError(const std::filesystem::path& folder);

  private:
    std::map<std::filesystem::path, std::vector<Entry>> listings_;
    std::map<std::filesystem::path, int> errors_;
};

} // namespace orv
