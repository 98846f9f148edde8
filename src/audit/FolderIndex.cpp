#include "audit/FolderIndex.h"

#include "data/Text.h"

#include <algorithm>
#include <system_error>

namespace orv {
namespace fs = std::filesystem;

namespace {

// Splits at "/" and "\"; empty components (doubled or leading separators)
// are dropped, as the Windows path rules do. `endsInSeparator` reports a
// trailing separator, which leaves no file name.
std::vector<std::string> splitComponents(std::string_view relative, bool& endsInSeparator) {
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
    endsInSeparator = current.empty();
    if (!current.empty())
        parts.push_back(std::move(current));
    return parts;
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
    bool endsInSeparator = false;
    fs::path current = base;
    for (const std::string& part : splitComponents(relative, endsInSeparator)) {
        if (part == ".")
            continue;
        if (part == "..") {
            current /= part;
            continue;
        }
        const std::string wanted = foldCase(part);
        const Entry* match = nullptr;
        for (const Entry& entry : entries(current)) {
            if (!entry.folder || entry.folded != wanted)
                continue;
            if (!match || entry.name == part)
                match = &entry;
        }
        if (!match)
            return std::nullopt;
        current /= match->name;
    }
    return current;
}

bool FolderIndex::fileExists(const fs::path& folder, std::string_view relative) {
    bool endsInSeparator = false;
    std::vector<std::string> parts = splitComponents(relative, endsInSeparator);
    if (parts.empty() || endsInSeparator)
        return false;
    const std::string name = std::move(parts.back());
    parts.pop_back();
    std::string path;
    for (const std::string& part : parts)
        path.append(part).push_back('/');
    const auto parent = findFolder(folder, path);
    if (!parent)
        return false;
    const std::string wanted = foldCase(name);
    const auto& listing = entries(*parent);
    return std::any_of(listing.begin(), listing.end(), [&](const Entry& entry) {
        return entry.file && !entry.hidden && entry.folded == wanted;
    });
}

} // namespace orv
