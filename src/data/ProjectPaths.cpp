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
    fs::path given = fs::absolute(projectFile, ec);
    if (ec)
        given = projectFile;
    // "." and doubled separators go; ".." stays, because "l/.." is not the
    // folder holding l when l is a link.
    fs::path full = given.root_path();
    bool climbs = false;
    for (const fs::path& part : given.relative_path()) {
        if (part.empty() || part == ".")
            continue;
        climbs = climbs || part == "..";
        full /= part;
    }
    fs::path folder = full.parent_path();
    if (climbs) {
        // Shown as the system resolves it; where that fails (a path longer
        // than the system takes at once) the ".." stays and is resolved by
        // the system as each folder is opened.
        if (fs::path real = fs::canonical(folder, ec); !ec)
            folder = real;
    }
    return {folder / full.filename(), folder};
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
