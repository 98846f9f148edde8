#include "audit/FolderIndex.h"

#include "data/ProjectPaths.h"
#include "data/Text.h"

#include <algorithm>
#include <system_error>

namespace orv {
namespace fs = std::filesystem;

namespace {

// A trailing separator leaves no file name.
bool endsInSeparator(std::string_view relative) {
    return relative.empty() || relative.back() == '/' || relative.back() == '\\';
}

// The entries whose name folds to `folded`: listings are sorted by the
// folded name first, so they stand together and are found by bisection.
std::pair<std::vector<FolderIndex::Entry>::const_iterator, std::vector<FolderIndex::Entry>::const_iterator>
sameFolded(const std::vector<FolderIndex::Entry>& listing, const std::string& folded) {
    const auto first = std::lower_bound(listing.begin(), listing.end(), folded,
                                        [](const FolderIndex::Entry& e, const std::string& f) { return e.folded < f; });
    auto last = first;
    while (last != listing.end() && last->folded == folded)
        ++last;
    return {first, last};
}

FolderIndex::Entry describe(const fs::directory_entry& item) {
    FolderIndex::Entry entry;
    entry.name = item.path().filename().string();
    entry.folded = foldCase(entry.name);
    entry.hidden = !entry.name.empty() && entry.name.front() == '.';
    std::error_code ec;
    // status() follows links: a link to a file is a file, a dangling link is
    // neither.
    const fs::file_status status = item.status(ec);
    if (!ec) {
        entry.file = fs::is_regular_file(status);
        entry.folder = fs::is_directory(status);
    }
    return entry;
}

} // namespace

const std::vector<FolderIndex::Entry>& FolderIndex::entries(const fs::path& folder) {
    if (auto found = listings_.find(folder); found != listings_.end())
        return found->second;
    std::vector<Entry> listing;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        listing.push_back(describe(*it));
    std::sort(listing.begin(), listing.end(), [](const Entry& a, const Entry& b) {
        return a.folded != b.folded ? a.folded < b.folded : a.name < b.name;
    });
    return listings_.emplace(folder, std::move(listing)).first->second;
}

std::vector<std::string> FolderIndex::files(const fs::path& folder) {
    std::vector<std::string> names;
    for (const Entry& entry : entries(folder))
        if (entry.file && !entry.hidden)
            names.push_back(entry.name);
    return names;
}

std::optional<fs::path> FolderIndex::findFolder(const fs::path& base, std::string_view relative) {
    fs::path current = base;
    for (const std::string& part : splitRelativePath(relative)) {
        if (part == ".")
            continue;
        if (part == "..") {
            current /= part;
            continue;
        }
        const Entry* match = nullptr;
        for (auto [it, end] = sameFolded(entries(current), foldCase(part)); it != end; ++it)
            if (it->folder && (!match || it->name == part))
                match = &*it;
        if (!match)
            return std::nullopt;
        current /= match->name;
    }
    return current;
}

bool FolderIndex::fileExists(const fs::path& folder, std::string_view relative) {
    std::vector<std::string> parts = splitRelativePath(relative);
    if (parts.empty() || endsInSeparator(relative))
        return false;
    const std::string name = std::move(parts.back());
    parts.pop_back();
    std::string path;
    for (const std::string& part : parts)
        path.append(part).push_back('/');
    const auto parent = findFolder(folder, path);
    if (!parent)
        return false;
    const auto [first, last] = sameFolded(entries(*parent), foldCase(name));
    return std::any_of(first, last, [](const Entry& entry) { return entry.file && !entry.hidden; });
}

} // namespace orv
