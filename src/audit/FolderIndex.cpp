#include "audit/FolderIndex.h"

#include "data/FolderHandle.h"
#include "data/ProjectPaths.h"
#include "data/Text.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
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

FolderIndex::Entry describe(const FolderHandle& folder, FolderHandle::Listed listed) {
    FolderIndex::Entry entry;
    entry.name = std::move(listed.name);
    entry.folded = foldCase(entry.name);
    entry.hidden = !entry.name.empty() && entry.name.front() == '.';
    using Type = FolderHandle::Listed::Type;
    switch (listed.type) {
    case Type::File: entry.file = true; break;
    case Type::Folder: entry.folder = true; break;
    case Type::Other: break;
    case Type::Unknown: {
        // Links are followed: a link to a file is a file, a dangling link is
        // neither.
        struct stat st {};
        if (::fstatat(folder.fd(), entry.name.c_str(), &st, 0) == 0) {
            entry.file = S_ISREG(st.st_mode);
            entry.folder = S_ISDIR(st.st_mode);
        }
        break;
    }
    }
    return entry;
}

} // namespace

const std::vector<FolderIndex::Entry>& FolderIndex::entries(const fs::path& folder) {
    if (auto found = listings_.find(folder); found != listings_.end())
        return found->second;
    std::vector<Entry> listing;
    int err = 0;
    if (const Result<FolderHandle> handle = FolderHandle::open(folder); handle) {
        std::vector<FolderHandle::Listed> names;
        err = handle->list(names);
        if (err == 0) {
            listing.reserve(names.size());
            for (FolderHandle::Listed& name : names)
                listing.push_back(describe(*handle, std::move(name)));
        }
    } else {
        err = handle.failure().error != 0 ? handle.failure().error : EIO;
    }
    if (err != 0)
        errors_[folder] = err;
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
        // A folder of that name first; failing that, anything of that name,
        // so that a file or a link loop where a folder belongs is found and
        // then fails to list, instead of passing for a missing folder.
        const Entry* match = nullptr;
        const Entry* other = nullptr;
        for (auto [it, end] = sameFolded(entries(current), foldCase(part)); it != end; ++it) {
            if (it->folder && (!match || it->name == part))
                match = &*it;
            if (!other || it->name == part)
                other = &*it;
        }
        if (!match)
            match = other;
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

namespace orv {

int FolderIndex::listingError(const fs::path& folder) {
    (void)entries(folder);
    const auto found = errors_.find(folder);
    return found == errors_.end() ? 0 : found->second;
}

} // namespace orv
