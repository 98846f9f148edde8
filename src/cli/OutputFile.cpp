#include "cli/OutputFile.h"

#include "cli/FdStreamBuf.h"
#include "data/FolderHandle.h"
#include "data/Text.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace orv {
namespace fs = std::filesystem;

namespace {

using Identity = std::pair<dev_t, ino_t>;

std::optional<Identity> identityAt(int dirFd, const char* name) {
    struct stat st {};
    if (::fstatat(dirFd, name, &st, 0) != 0)
        return std::nullopt;
    return Identity{st.st_dev, st.st_ino};
}

// Follows the links of the last component, the way an open would, and
// returns the path that would be written: an existing non-link, or a name
// that does not exist yet (a dangling link's target).
fs::path finalTarget(fs::path path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string target(4096, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            return path;
        target.resize(static_cast<std::size_t>(n));
        const fs::path next(target);
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

} // namespace

std::optional<std::string> RefusedOutput(const fs::path& output, const ProjectPaths& paths) {
    std::optional<Identity> projectFile;
    std::optional<Identity> resource;
    std::vector<std::pair<std::string, Identity>> dataFiles;
    // Should the project's folder be gone since it loaded a moment ago, there
    // is nothing left to protect.
    if (const Result<FolderHandle> opened = FolderHandle::open(paths.ProjectFolder); opened) {
        const FolderHandle& folder = *opened;
        projectFile = identityAt(folder.fd(), paths.ProjectFilePath.filename().c_str());
        if (const auto name = folder.findIgnoringCase("resource")) {
            int err = 0;
            if (auto res = folder.openFolder(*name, err)) {
                resource = identityAt(res->fd(), ".");
                for (int n = 1; n <= 5; ++n) {
                    const std::string wanted = "Orvanta" + std::to_string(n) + ".dat";
                    if (const auto file = res->findIgnoringCase(wanted))
                        if (const auto id = identityAt(res->fd(), file->c_str()))
                            dataFiles.emplace_back(*name + "/" + *file, *id);
                }
            }
        }
    }

    const fs::path target = finalTarget(output);
    if (const auto id = identityAt(AT_FDCWD, target.c_str())) {
        if (projectFile && *id == *projectFile)
            return "it is the project file";
        for (const auto& [name, dataFile] : dataFiles)
            if (*id == dataFile)
                return "it is the project's data file " + name;
    }
    if (!resource)
        return std::nullopt;
    // Climb from the folder the file would be written in, as the system
    // resolves it, up to "/": passing the resource folder means inside it.
    // A folder that cannot be opened cannot be written into either; the
    // write reports why.
    const fs::path parent = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (Result<FolderHandle> opened = FolderHandle::open(parent); opened) {
        FolderHandle current = std::move(*opened);
        std::optional<Identity> previous;
        for (int depth = 0; depth < 4096; ++depth) {
            const auto id = identityAt(current.fd(), ".");
            if (!id || id == previous)
                break;
            if (*id == *resource)
                return "it lies in the project's resource folder";
            previous = id;
            int err = 0;
            auto up = current.openFolder("..", err);
            if (!up)
                break;
            current = std::move(*up);
        }
    }
    return std::nullopt;
}

Result<OutputFile> OutputFile::create(const fs::path& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    const bool created = fd >= 0;
    if (fd < 0 && errno == EEXIST)
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return systemFailure(FailureKind::WriteFailed, errno, path);
    return OutputFile(path, fd, created);
}

OutputFile::OutputFile(fs::path path, int fd, bool created)
    : path_(std::move(path)), fd_(fd), created_(created), buffer_(std::make_unique<FdStreamBuf>(fd)),
      stream_(std::make_unique<std::ostream>(buffer_.get())) {}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(other.fd_), created_(other.created_), buffer_(std::move(other.buffer_)),
      stream_(std::move(other.stream_)) {
    other.fd_ = -1;
}

OutputFile::~OutputFile() {
    if (fd_ >= 0) {
        stream_->flush();
        ::close(fd_);
    }
}

Result<void> OutputFile::close() {
    stream_->flush();
    int err = buffer_->error();
    if (::close(fd_) != 0 && err == 0)
        err = errno;
    fd_ = -1;
    if (err != 0)
        return systemFailure(FailureKind::WriteFailed, err, path_);
    return {};
}

std::string OutputFile::abandon() {
    stream_->flush(); // what it still holds goes out before the file is emptied
    if (::ftruncate(fd_, 0) != 0) {
        // Nothing more can be done than to say what was meant.
    }
    ::close(fd_);
    fd_ = -1;
    if (created_ && ::unlink(path_.c_str()) == 0)
        return path_.string() + " was removed";
    return path_.string() + " was left empty";
}

std::optional<Failure> WriteOutputFile(const fs::path& output, std::string_view bytes, std::string_view tail) {
    const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return systemFailure(FailureKind::WriteFailed, errno, output);
    for (std::string_view piece : {bytes, tail}) {
        while (!piece.empty()) {
            const ssize_t n = ::write(fd, piece.data(), piece.size());
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                const int err = errno;
                ::close(fd);
                return systemFailure(FailureKind::WriteFailed, err, output);
            }
            piece.remove_prefix(static_cast<std::size_t>(n));
        }
    }
    if (::close(fd) != 0)
        return systemFailure(FailureKind::WriteFailed, errno, output);
    return std::nullopt;
}

} // namespace orv
