#include "data/FileError.h"
#include "data/RecordFile.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <unistd.h>

namespace orv {

namespace {

// Reads `size` bytes at `offset` into `out`, however many read calls it
// takes; returns how many there were before the end of the file.
std::size_t readAt(int fd, std::uint64_t offset, std::uint8_t* out, std::size_t size,
                   const std::filesystem::path& path) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, out + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw fileErrorFromErrno(errno, path, "read the file");
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

} // namespace

void RecordFile::readRecords(long first, std::size_t count, std::vector<std::uint8_t>& records) const {
    if (first < 1)
        throw FileError(63, path_, "bad record number " + std::to_string(first));
    records.resize(recordLength_ * count);
    const std::uint64_t start = static_cast<std::uint64_t>(first - 1) * recordLength_;
    std::size_t got = 0;
    if (start < length_) {
        const std::uint64_t wanted = std::min<std::uint64_t>(records.size(), length_ - start);
        got = readAt(fileno(file_.get()), start, records.data(), static_cast<std::size_t>(wanted), path_);
    }
    std::fill(records.begin() + static_cast<std::ptrdiff_t>(got), records.end(), std::uint8_t{0});
}

std::vector<std::uint8_t> RecordFile::readAll() const {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length_));
    // A file that shrank since it was opened reads as zeros past its end,
    // as records past the end always do.
    const std::size_t got = readAt(fileno(file_.get()), 0, bytes.data(), bytes.size(), path_);
    std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(got), bytes.end(), std::uint8_t{0});
    return bytes;
}

} // namespace orv
