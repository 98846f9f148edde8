#include "data/RecordFile.h"

#include "data/FileError.h"
#include "data/FolderHandle.h"
#include "data/Numbers.h"
#include "data/ProjectPaths.h"
#include "data/RecordLayouts.h"
#include "data/Records.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace orv {
namespace fs = std::filesystem;

namespace {

// Reads the whole file's length through the open handle, so that a file
// replaced meanwhile cannot give a length that does not match what is read.
std::uint64_t openLength(std::FILE* f, const fs::path& path) {
    if (std::fseek(f, 0, SEEK_END) != 0)
        throw fileErrorFromErrno(errno, FailureKind::CannotRead, path);
    const long end = std::ftell(f);
    if (end < 0)
        throw fileErrorFromErrno(errno, FailureKind::CannotRead, path);
    return static_cast<std::uint64_t>(end);
}

} // namespace

RecordFile RecordFile::openDataFile(const fs::path& folder, std::string_view relative, std::size_t recordLength) {
    std::vector<std::string> parts = splitRelativePath(relative);
    if (parts.empty())
        throw FileError(ErrPathFileAccess, Failure{FailureKind::CannotOpen, folder, "no file name"});
    const std::string wanted = std::move(parts.back());
    parts.pop_back();
    FolderHandle current = FolderHandle::open(folder);
    bool throughLink = false;
    for (const std::string& part : parts) {
        const auto found = current.findIgnoringCase(part);
        if (!found)
            throw FileError(ErrPathNotFound,
                            Failure{FailureKind::ResourceFolderMissing, current.path() / part, std::strerror(ENOENT)});
        struct stat st {};
        if (::fstatat(current.fd(), found->c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
            throughLink = true;
        int err = 0;
        auto next = current.openFolder(*found, err);
        if (!next)
            throw fileErrorFromErrno(err, FailureKind::CannotOpen, current.path() / *found);
        current = std::move(*next);
    }
    const std::string name = current.findIgnoringCase(wanted).value_or(wanted);
    struct stat st {};
    if (throughLink && ::fstatat(current.fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT)
        // A missing file is created only in a folder of the project itself,
        // never in wherever a link sends the scanner.
        throw FileError(ErrPathFileAccess,
                        Failure{FailureKind::LinkRefused, current.path() / name,
                                "the file is missing, and its folder is reached through a link; nothing is "
                                "created through a link"});
    return RecordFile(openOrdinaryFile(current, name, true), current.path() / name, recordLength);
}

RecordFile::RecordFile(fs::path path, std::size_t recordLength, IfMissing ifMissing)
    : path_(std::move(path)), recordLength_(recordLength) {
    const FolderHandle folder = FolderHandle::open(path_.parent_path());
    adopt(openOrdinaryFile(folder, path_.filename().string(), ifMissing == IfMissing::Create));
}

RecordFile::RecordFile(int fd, fs::path path, std::size_t recordLength)
    : path_(std::move(path)), recordLength_(recordLength) {
    adopt(fd);
}

void RecordFile::adopt(int fd) {
    file_.reset(::fdopen(fd, "rb"));
    if (!file_) {
        const int err = errno;
        ::close(fd);
        throw fileErrorFromErrno(err, FailureKind::CannotOpen, path_);
    }
    length_ = openLength(file_.get(), path_);
}

Integer RecordFile::recordCount() const {
    const std::int64_t count =
        divideHalfEven(static_cast<std::int64_t>(length_), static_cast<std::int64_t>(recordLength_));
    if (count > std::numeric_limits<Integer>::max())
        throw FileError(ErrTooManyRecords,
                        Failure{FailureKind::TooManyRecords, path_,
                                "holds " + std::to_string(count) + " records of " + std::to_string(recordLength_) +
                                    " bytes; a project file can hold at most 32767"});
    return static_cast<Integer>(count);
}

std::vector<std::uint8_t> RecordFile::readRecord(long n) const {
    if (n < 1)
        throw FileError(63, path_, "bad record number " + std::to_string(n));
    std::vector<std::uint8_t> record(recordLength_, 0);
    const std::uint64_t start = static_cast<std::uint64_t>(n - 1) * recordLength_;
    if (start >= length_)
        return record;
    if (std::fseek(file_.get(), static_cast<long>(start), SEEK_SET) != 0)
        throw fileErrorFromErrno(errno, FailureKind::CannotRead, path_);
    const std::size_t got = std::fread(record.data(), 1, recordLength_, file_.get());
    if (got < recordLength_ && std::ferror(file_.get())) {
        const int err = errno;
        std::clearerr(file_.get());
        throw fileErrorFromErrno(err, FailureKind::CannotRead, path_);
    }
    std::clearerr(file_.get());
    return record;
}

ProjectRecord readProjectRecord(const fs::path& projectFilePath) {
    const RecordFile file(projectFilePath, layout::ProjectRecordLength, RecordFile::IfMissing::Fail);
    return decodeProjectRecord(file.readRecord(1));
}

} // namespace orv
