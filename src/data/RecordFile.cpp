#include "data/RecordFile.h"

#include "data/FolderHandle.h"
#include "data/Numbers.h"
#include "data/ProjectPaths.h"
#include "data/RecordLayouts.h"
#include "data/Records.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {
namespace fs = std::filesystem;

namespace {

Failure badRecordNumber(const fs::path& path, long n) {
    return Failure{FailureKind::CannotRead, path, "no record " + std::to_string(n) + " (records count from 1)"};
}

// Reads `size` bytes at `offset` into `out`, however many read calls it
// takes; gives how many there were before the end of the file.
Result<std::size_t> readAt(int fd, std::uint64_t offset, std::uint8_t* out, std::size_t size, const fs::path& path) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, out + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return systemFailure(FailureKind::CannotRead, errno, path);
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

} // namespace

Result<RecordFile> RecordFile::openDataFile(const fs::path& folder, std::string_view relative,
                                            std::size_t recordLength) {
    std::vector<std::string> parts = splitRelativePath(relative);
    if (parts.empty())
        return Failure{FailureKind::CannotOpen, folder, "no file name"};
    const std::string wanted = std::move(parts.back());
    parts.pop_back();
    Result<FolderHandle> opened = FolderHandle::open(folder);
    if (!opened)
        return std::move(opened).failure();
    FolderHandle current = std::move(*opened);
    bool throughLink = false;
    for (const std::string& part : parts) {
        const auto found = current.findIgnoringCase(part);
        if (!found)
            return Failure{FailureKind::ResourceFolderMissing, current.path() / part, std::strerror(ENOENT), ENOENT};
        struct stat st {};
        if (::fstatat(current.fd(), found->c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
            throughLink = true;
        int err = 0;
        auto next = current.openFolder(*found, err);
        if (!next)
            return systemFailure(FailureKind::CannotOpen, err, current.path() / *found);
        current = std::move(*next);
    }
    const std::string name = current.findIgnoringCase(wanted).value_or(wanted);
    struct stat st {};
    if (throughLink && ::fstatat(current.fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT)
        // A missing file is created only in a folder of the project itself,
        // never in wherever a link sends the scanner.
        return Failure{FailureKind::LinkRefused, current.path() / name,
                       "the file is missing, and its folder is reached through a link; nothing is created through a "
                       "link"};
    const Result<int> fd = openOrdinaryFile(current, name, true);
    if (!fd)
        return fd.failure();
    RecordFile file(*fd, current.path() / name, recordLength);
    if (Result<void> measured = file.measure(); !measured)
        return std::move(measured).failure();
    return file;
}

Result<RecordFile> RecordFile::open(const fs::path& path, std::size_t recordLength, IfMissing ifMissing) {
    Result<FolderHandle> folder = FolderHandle::open(path.parent_path());
    if (!folder)
        return std::move(folder).failure();
    const Result<int> fd = openOrdinaryFile(*folder, path.filename().string(), ifMissing == IfMissing::Create);
    if (!fd)
        return fd.failure();
    RecordFile file(*fd, path, recordLength);
    if (Result<void> measured = file.measure(); !measured)
        return std::move(measured).failure();
    return file;
}

RecordFile::RecordFile(int fd, fs::path path, std::size_t recordLength)
    : path_(std::move(path)), recordLength_(recordLength), fd_(fd) {}

RecordFile::RecordFile(RecordFile&& other) noexcept
    : path_(std::move(other.path_)), recordLength_(other.recordLength_), length_(other.length_), fd_(other.fd_) {
    other.fd_ = -1;
}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        path_ = std::move(other.path_);
        recordLength_ = other.recordLength_;
        length_ = other.length_;
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

RecordFile::~RecordFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

// The length is taken through the open handle, so that a file replaced
// meanwhile cannot give a length that does not match what is read.
Result<void> RecordFile::measure() {
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        return systemFailure(FailureKind::CannotRead, errno, path_);
    length_ = static_cast<std::uint64_t>(st.st_size);
    return {};
}

Result<Integer> RecordFile::recordCount() const {
    const std::int64_t count =
        divideHalfEven(static_cast<std::int64_t>(length_), static_cast<std::int64_t>(recordLength_));
    if (count > std::numeric_limits<Integer>::max())
        return Failure{FailureKind::TooManyRecords, path_,
                       "holds " + std::to_string(count) + " records of " + std::to_string(recordLength_) +
                           " bytes; a project file can hold at most 32767"};
    return static_cast<Integer>(count);
}

Result<void> RecordFile::readRecords(long first, std::size_t count, std::vector<std::uint8_t>& records) const {
    if (first < 1)
        return badRecordNumber(path_, first);
    records.resize(recordLength_ * count);
    const std::uint64_t start = static_cast<std::uint64_t>(first - 1) * recordLength_;
    std::size_t got = 0;
    if (start < length_) {
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(records.size(), length_ - start));
        const Result<std::size_t> read = readAt(fd_, start, records.data(), wanted, path_);
        if (!read)
            return read.failure();
        got = *read;
    }
    std::fill(records.begin() + static_cast<std::ptrdiff_t>(got), records.end(), std::uint8_t{0});
    return {};
}

Result<std::vector<std::uint8_t>> RecordFile::readRecord(long n) const {
    std::vector<std::uint8_t> record;
    if (Result<void> read = readRecords(n, 1, record); !read)
        return std::move(read).failure();
    return record;
}

RecordReader::RecordReader(const RecordFile& file)
    : file_(file), perChunk_(std::max<std::size_t>(1, (std::size_t{1} << 17) / file.recordLength())) {}

Result<RecordBytes> RecordReader::record(long n) {
    const std::size_t length = file_.recordLength();
    if (n < first_ || n >= first_ + count_) {
        const std::uint64_t inFile = (file_.length() + length - 1) / length;
        const std::uint64_t left = n >= 1 && static_cast<std::uint64_t>(n) <= inFile ? inFile - n + 1 : 1;
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(perChunk_, left));
        first_ = count_ = 0;
        if (!file_.readRecords(n, count, chunk_)) {
            // Only the records that fail are lost: this one is tried alone.
            if (Result<void> one = file_.readRecords(n, 1, chunk_); !one)
                return std::move(one).failure();
            first_ = n;
            count_ = 1;
        } else {
            first_ = n;
            count_ = static_cast<long>(count);
        }
    }
    return RecordBytes(chunk_).subspan(static_cast<std::size_t>(n - first_) * length, length);
}

std::optional<RecordBytes> RecordReader::peek(long n) const {
    if (n < first_ || n >= first_ + count_)
        return std::nullopt;
    return RecordBytes(chunk_).subspan(static_cast<std::size_t>(n - first_) * file_.recordLength(),
                                       file_.recordLength());
}

Result<ProjectRecord> readProjectRecord(const fs::path& projectFilePath) {
    const Result<RecordFile> file =
        RecordFile::open(projectFilePath, layout::ProjectRecordLength, RecordFile::IfMissing::Fail);
    if (!file)
        return file.failure();
    const Result<std::vector<std::uint8_t>> record = file->readRecord(1);
    if (!record)
        return record.failure();
    return decodeProjectRecord(*record);
}

} // namespace orv
