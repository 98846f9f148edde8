#include "audit/FileExists.h"

#include "audit/FolderIndex.h"
#include "data/Yield.h"

namespace orv {

bool FileExists(FolderIndex& index, const std::filesystem::path& folder, std::string_view name, EventLoop& loop) {
    // An unreadable path is an absent file: the reference is reported missing.
    const bool present = index.fileExists(folder, name);
    loop.yield();
    return present;
}

} // namespace orv
