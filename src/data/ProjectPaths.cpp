#include "data/ProjectPaths.h"

#include "data/Text.h"

#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace orv {
namespace fs = std::filesystem;

ProjectPaths ProjectPaths::fromProjectFile(const fs::path& projectFile) {
    std::error_code ec;
    fs::path full = fs::absolute(projectFile, ec);
    if (ec)
        full = projectFile;
    full = full.lexically_normal();
    return {full, full.parent_path()};
}

std::vector<std::string> splitRelativePath(std::string_view relative) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : relative) {
        if (c == '/' || c == '\\') {
            if (!current.empty())
                parts.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty())
        parts.push_back(std::move(current));
    return parts;
}

namespace {

std::optional<std::string> matchIgnoringCase(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    if (fs::symlink_status(dir / name, ec).type() != fs::file_type::not_found && !ec)
        return name;
    const std::string wanted = foldCase(name);
    std::optional<std::string> best;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string candidate = it->path().filename().string();
        if (foldCase(candidate) == wanted && (!best || candidate < *best))
            best = std::move(candidate);
    }
    return best;
}

} // namespace

fs::path resolveIgnoringCase(const fs::path& folder, std::string_view relative) {
    fs::path result = folder;
    bool matching = true;
    for (const std::string& part : splitRelativePath(relative)) {
        if (matching) {
            if (auto found = matchIgnoringCase(result, part)) {
                result /= *found;
                continue;
            }
            matching = false;
        }
        result /= part;
    }
    return result;
}

} // namespace orv
