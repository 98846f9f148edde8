#include "data/RecordFile.h"

#include "data/FileError.h"
#include "data/Numbers.h"
#include "data/ProjectPaths.h"
#include "data/RecordLayouts.h"
#include "data/Records.h"

#include <cerrno>
#include <limits>
#include <string>
#include <system_error>

namespace orv {
namespace fs = std::filesystem;

namespace {

// Reads the whole file's length through the open handle, so that a file
// replaced meanwhile cannot give a length that does not match what is read.
std::uint64_t openLength(std::FILE* f, const fs::path& path) {
    if (std::fseek(f, 0, SEEK_END) != 0)
        throw fileErrorFromErrno(errno, path, "find the length of the file");
    const long end = std::ftell(f);
    if (end < 0)
        throw fileErrorFromErrno(errno, path, "find the length of the file");
    return static_cast<std::uint64_t>(end);
}

} // namespace

RecordFile RecordFile::openDataFile(const fs::path& folder, std::string_view relative, std::size_t recordLength) {
    return RecordFile(resolveIgnoringCase(folder, relative), recordLength, IfMissing::Create);
}

RecordFile::RecordFile(fs::path path, std::size_t recordLength, IfMissing ifMissing)
    : path_(std::move(path)), recordLength_(recordLength) {
    std::error_code ec;
    const auto status = fs::status(path_, ec);
    if (status.type() == fs::file_type::directory)
        throw FileError(ErrPathFileAccess, path_, "is a folder, not a data file");
    // A pipe, socket or device would block the open or never end; only an
    // ordinary file (or a link to one) is read.
    if (fs::is_fifo(status) || fs::is_socket(status) || fs::is_block_file(status) ||
        fs::is_character_file(status) || status.type() == fs::file_type::unknown)
        throw FileError(ErrPathFileAccess, path_, "is not an ordinary file");
    if (status.type() == fs::file_type::not_found && ifMissing == IfMissing::Fail)
        throw FileError(ErrFileNotFound, path_, "file not found");
    if (status.type() == fs::file_type::not_found) {
        // A missing data file is created empty, as the authoring tool does.
        std::FILE* created = std::fopen(path_.c_str(), "ab");
        if (!created)
            throw fileErrorFromErrno(errno, path_, "create the missing file");
        std::fclose(created);
    }
    file_.reset(std::fopen(path_.c_str(), "rb"));
    if (!file_)
        throw fileErrorFromErrno(errno, path_, "open the file");
    length_ = openLength(file_.get(), path_);
}

Integer RecordFile::recordCount() const {
    const std::int64_t count =
        divideHalfEven(static_cast<std::int64_t>(length_), static_cast<std::int64_t>(recordLength_));
    if (count > std::numeric_limits<Integer>::max())
        throw FileError(ErrTooManyRecords, path_,
                        "holds " + std::to_string(count) + " records of " + std::to_string(recordLength_) +
                            " bytes; a project file can hold at most 32767");
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
        throw fileErrorFromErrno(errno, path_, "seek in the file");
    const std::size_t got = std::fread(record.data(), 1, recordLength_, file_.get());
    if (got < recordLength_ && std::ferror(file_.get())) {
        const int err = errno;
        std::clearerr(file_.get());
        throw fileErrorFromErrno(err, path_, "read the file");
    }
    std::clearerr(file_.get());
    return record;
}

ProjectRecord readProjectRecord(const fs::path& projectFilePath) {
    const RecordFile file(projectFilePath, layout::ProjectRecordLength, RecordFile::IfMissing::Fail);
    return decodeProjectRecord(file.readRecord(1));
}

} // namespace orv
