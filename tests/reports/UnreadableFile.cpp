#include "reports/UnreadableFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <system_error>

namespace orv::testing {
namespace fs = std::filesystem;

bool makeOpenFileUnreadable(const fs::path& file) {
    std::error_code ec;
    const fs::path target = fs::canonical(file, ec);
    if (ec)
        return false;
    bool found = false;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd", ec)) {
        std::error_code linkError;
        const fs::path linked = fs::read_symlink(entry.path(), linkError);
        if (linkError || linked != target)
            continue;
        const int folder = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
        if (folder < 0)
            return false;
        found = ::dup2(folder, std::stoi(entry.path().filename().string())) >= 0;
        ::close(folder);
    }
    return found;
}

} // namespace orv::testing
