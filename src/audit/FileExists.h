#pragma once

#include <filesystem>
#include <string_view>

namespace orv {

class EventLoop;
class FolderIndex;

// True when `name` ("\" and "/" separate subfolders) is an ordinary file in
// `folder`, found ignoring letter case; folders, hidden files (a name that
// begins with ".") and dangling links count as absent, and nothing on disk
// makes it fail. Yields once after the test.
bool FileExists(FolderIndex& index, const std::filesystem::path& folder, std::string_view name, EventLoop& loop);

} // namespace orv
