#pragma once

#include "data/Result.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// An open folder. Everything below a project's folder is opened relative to
// one of these (the *at() calls), so that a path longer than the system
// takes in one call still works, and so that what is checked is what is
// opened. The path is kept only to name the folder in messages.
class FolderHandle {
  public:
    FolderHandle() = default;
    FolderHandle(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
    ~FolderHandle();
    FolderHandle(FolderHandle&& other) noexcept;
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    int fd() const { return fd_; }
    const std::filesystem::path& path() const { return path_; }

    // Opens the folder at `path` one component at a time, from "/" or from
    // the current folder, following links as the system does: ".." is the
    // parent of the folder actually reached, not of the text before it.
    // Fails (CannotOpen) naming the folder.
    static Result<FolderHandle> open(const std::filesystem::path& path);

    // The folder `name` inside this one (a link to a folder is followed);
    // empty with errno in `err` when it cannot be opened.
    std::optional<FolderHandle> openFolder(const std::string& name, int& err) const;

    // The names in the folder, "." and ".." left out, in the system's order.
    // Returns 0, or the errno of the failure.
    int list(std::vector<std::string>& names) const;

    // The same with the type of each entry where the listing itself tells it,
    // which spares asking the file system entry by entry. A link, or an
    // entry of a file system that does not say, is Unknown.
    struct Listed {
        enum class Type : std::uint8_t { File, Folder, Other, Unknown };
        std::string name;
        Type type = Type::Unknown;
    };
    int list(std::vector<Listed>& entries) const;

    // The entry `name` of this folder, found ignoring letter case (ASCII and
    // Windows-1252 letters); the exact spelling wins, then the smallest of
    // the names that match. Empty when nothing matches or the folder cannot
    // be listed.
    std::optional<std::string> findIgnoringCase(const std::string& name) const;

  private:
    int fd_ = -1; // opened with O_PATH: usable as the base of *at() calls
    std::filesystem::path path_;
};

// Opens `name` in `folder` for reading. It must be an ordinary file, or a
// link to an existing ordinary file; a dangling link, or a link to anything
// else, is refused (LinkRefused) and nothing is created. A folder, pipe,
// socket or device is refused without being opened (NotOrdinaryFile), so
// nothing blocks. When the name does not exist and `create` is true, a new
// empty ordinary file is created exclusively and without following links.
// Returns the descriptor; a failure names folder/name.
Result<int> openOrdinaryFile(const FolderHandle& folder, const std::string& name, bool create);

} // namespace orv
