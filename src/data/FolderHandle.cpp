#include "data/FolderHandle.h"

#include "data/Text.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {
namespace fs = std::filesystem;

FolderHandle::~FolderHandle() {
    if (fd_ >= 0)
        ::close(fd_);
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) {
    other.fd_ = -1;
}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.fd_;
        path_ = std::move(other.path_);
        other.fd_ = -1;
    }
    return *this;
}

Result<FolderHandle> FolderHandle::open(const fs::path& path) {
    const bool absolute = path.is_absolute();
    int fd = ::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return systemFailure(FailureKind::CannotOpen, errno, absolute ? fs::path("/") : fs::path("."));
    FolderHandle current(fd, absolute ? fs::path("/") : fs::path());
    for (const fs::path& part : path.relative_path()) {
        const std::string name = part.string();
        if (name.empty() || name == ".")
            continue;
        int err = 0;
        auto next = current.openFolder(name, err);
        if (!next)
            return systemFailure(FailureKind::CannotOpen, err, current.path() / name);
        current = std::move(*next);
    }
    if (current.path_.empty())
        current.path_ = path;
    return current;
}

std::optional<FolderHandle> FolderHandle::openFolder(const std::string& name, int& err) const {
    const int fd = ::openat(fd_, name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return std::nullopt;
    }
    return FolderHandle(fd, path_ / name);
}

int FolderHandle::list(std::vector<Listed>& entries) const {
    const int fd = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        const int err = errno;
        ::close(fd);
        return err;
    }
    int err = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            err = errno;
            break;
        }
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        using Type = Listed::Type;
        Type type = Type::Other;
        switch (entry->d_type) {
        case DT_REG: type = Type::File; break;
        case DT_DIR: type = Type::Folder; break;
        case DT_LNK:
        case DT_UNKNOWN: type = Type::Unknown; break;
        default: break;
        }
        entries.push_back({std::string(name), type});
    }
    ::closedir(dir);
    return err;
}

int FolderHandle::list(std::vector<std::string>& names) const {
    std::vector<Listed> entries;
    const int err = list(entries);
    for (Listed& entry : entries)
        names.push_back(std::move(entry.name));
    return err;
}

std::optional<std::string> FolderHandle::findIgnoringCase(const std::string& name) const {
    struct stat st {};
    if (::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return name;
    std::vector<std::string> names;
    if (list(names) != 0)
        return std::nullopt;
    const std::string wanted = foldCase(name);
    std::optional<std::string> best;
    for (std::string& candidate : names)
        if (foldCase(candidate) == wanted && (!best || candidate < *best))
            best = std::move(candidate);
    return best;
}

namespace {

std::string linkTarget(const FolderHandle& folder, const std::string& name) {
    std::string target(4096, '\0');
    const ssize_t n = ::readlinkat(folder.fd(), name.c_str(), target.data(), target.size());
    if (n < 0)
        return "?";
    target.resize(static_cast<std::size_t>(n));
    return target;
}

Failure refuseLink(const FolderHandle& folder, const std::string& name, const std::string& why) {
    return Failure{FailureKind::LinkRefused, folder.path() / name, "it names " + linkTarget(folder, name) + ", " + why};
}

Failure refuseKind(const fs::path& shown, mode_t mode) {
    return Failure{FailureKind::NotOrdinaryFile, shown,
                   S_ISDIR(mode) ? "is a folder, not a data file"
                                 : "is not an ordinary file (a pipe, socket or device)"};
}

} // namespace

Result<int> openOrdinaryFile(const FolderHandle& folder, const std::string& name, bool create) {
    const fs::path shown = folder.path() / name;
    // Two rounds: a name that appears or changes between the look and the
    // open is looked at once more.
    for (int round = 0; round < 2; ++round) {
        struct stat st {};
        if (::fstatat(folder.fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            const int err = errno;
            if (err != ENOENT)
                return systemFailure(FailureKind::CannotOpen, err, shown);
            if (!create)
                return systemFailure(FailureKind::FileMissing, err, shown);
            // Exclusive and without following links: a link put in its
            // place meanwhile makes this fail instead of creating its target.
            const int fd =
                ::openat(folder.fd(), name.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd >= 0)
                return fd;
            if (errno == EEXIST)
                continue;
            return systemFailure(FailureKind::CannotCreate, errno, shown);
        }
        const bool link = S_ISLNK(st.st_mode);
        if (link) {
            struct stat target {};
            if (::fstatat(folder.fd(), name.c_str(), &target, 0) != 0) {
                const int err = errno;
                return refuseLink(folder, name,
                                  err == ENOENT  ? "which does not exist"
                                  : err == ELOOP ? "which is a loop of links"
                                                 : std::string("which cannot be reached (") + std::strerror(err) + ")");
            }
            if (!S_ISREG(target.st_mode))
                return refuseLink(folder, name, "which is not an ordinary file");
        } else if (!S_ISREG(st.st_mode)) {
            return refuseKind(shown, st.st_mode);
        }
        // O_NONBLOCK: should a pipe take the file's place meanwhile, the open
        // returns at once and the check below refuses it.
        const int fd = ::openat(folder.fd(), name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (link ? 0 : O_NOFOLLOW));
        if (fd < 0) {
            const int err = errno;
            if (!link && err == ELOOP)
                continue;
            return systemFailure(FailureKind::CannotOpen, err, shown);
        }
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd);
            if (link)
                return refuseLink(folder, name, "which is not an ordinary file");
            return refuseKind(shown, opened.st_mode);
        }
        return fd;
    }
    return Failure{FailureKind::CannotOpen, shown, "it kept changing while it was being opened"};
}

} // namespace orv
