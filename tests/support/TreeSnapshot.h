#pragma once

// Everything about a folder tree that a program could change, read without following a single link: each
// entry's type, permissions, and for a file its bytes (its size and modification time when it is large),
// for a link its target. Two snapshots compare equal when nothing in the tree was created, removed or
// changed.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace orv::testing {

using TreeSnapshot = std::map<std::string, std::string>; // relative path -> description

inline std::string describeEntry(const std::filesystem::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return "gone";
    std::string d = std::to_string(st.st_mode) + " ";
    if (S_ISLNK(st.st_mode)) {
        std::string target(4096, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        target.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
        return d + "-> " + target;
    }
    if (!S_ISREG(st.st_mode))
        return d; // a folder is described by its entries; a pipe is never opened
    d += std::to_string(st.st_size) + " " + std::to_string(st.st_mtim.tv_sec) + "." +
         std::to_string(st.st_mtim.tv_nsec);
    if (st.st_size <= (1 << 20)) {
        std::ifstream in(path, std::ios::binary);
        if (in)
            d += " " + std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        else
            d += " (unreadable)";
    }
    return d;
}

inline TreeSnapshot snapshotTree(const std::filesystem::path& root) {
    TreeSnapshot tree;
    std::error_code ec;
    // Links to folders are not followed, and a folder that cannot be read is one entry.
    for (auto it = std::filesystem::recursive_directory_iterator(
             root, std::filesystem::directory_options::skip_permission_denied, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        tree[it->path().lexically_relative(root).string()] = describeEntry(it->path());
    return tree;
}

} // namespace orv::testing
