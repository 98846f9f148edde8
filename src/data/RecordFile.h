#pragma once

#include "data/Result.h"
#include "data/Types.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace orv {

// An open data file of fixed-length records. Record n (from 1) occupies bytes
// (n - 1) x L to n x L - 1; bytes past the end of the file read as zero. The
// file is only ever read; opening a data file that does not exist creates it
// empty (the one change the scanner makes to a project), and it then behaves
// as an empty file.
class RecordFile {
  public:
    enum class IfMissing { Create, Fail };

    // Opens the file at `path` (see openOrdinaryFile: an ordinary file or a
    // link to one; a missing file is created only as a new ordinary file).
    // Fails when it can be neither opened nor (with IfMissing::Create)
    // created, or when it is a folder or anything else that is not an
    // ordinary file (a pipe would never answer).
    static Result<RecordFile> open(const std::filesystem::path& path, std::size_t recordLength, IfMissing ifMissing);

    // Opens a data file of the project: folder + relative, each component
    // found ignoring case and opened relative to the folder before it; a
    // missing file is created empty, though never in a folder reached
    // through a link. A missing folder on the way is ResourceFolderMissing.
    // path() then spells each component as it is on disk.
    static Result<RecordFile> openDataFile(const std::filesystem::path& folder, std::string_view relative,
                                           std::size_t recordLength);

    RecordFile(RecordFile&& other) noexcept;
    RecordFile& operator=(RecordFile&& other) noexcept;
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;
    ~RecordFile();

    const std::filesystem::path& path() const { return path_; }
    std::size_t recordLength() const { return recordLength_; }
    std::uint64_t length() const { return length_; }

    // Length / L rounded half to even. A count that does not fit a 16-bit
    // Integer is TooManyRecords: such a file is refused rather than wrapped.
    Result<Integer> recordCount() const;

    // Records first to first + count - 1 into `out` (whose storage is
    // reused): count x L bytes, those past the end of the file zero. One
    // read.
    Result<void> readRecords(long first, std::size_t count, std::vector<std::uint8_t>& out) const;
    // The L bytes of record n.
    Result<std::vector<std::uint8_t>> readRecord(long n) const;

  private:
    RecordFile(int fd, std::filesystem::path path, std::size_t recordLength);
    Result<void> measure();

    std::filesystem::path path_;
    std::size_t recordLength_ = 1;
    std::uint64_t length_ = 0;
    int fd_ = -1;
};

// The records of one data file, in order: reads of about 128 KB into one
// reused buffer, which stays in the processor's cache (a whole scene file
// read into fresh memory costs far more in page faults than a second read
// from the page cache; the file is never mapped either: a file cut short by
// another program would then fault the scanner). A chunk that cannot be
// read is retried record by record, so that only the records that fail are
// lost. Every pass over a data file reads it through one.
class RecordReader {
  public:
    explicit RecordReader(const RecordFile& file);
    // Record n (from 1); valid until the next call. Records past the end of
    // the file are zeros.
    Result<RecordBytes> record(long n);
    // Record n when the last read brought it, without reading; else empty.
    std::optional<RecordBytes> peek(long n) const;

  private:
    const RecordFile& file_;
    std::size_t perChunk_;
    std::vector<std::uint8_t> chunk_;
    long first_ = 0;
    long count_ = 0;
};

// Opens the project file itself and reads its one record's lock.
struct ProjectRecord;
Result<ProjectRecord> readProjectRecord(const std::filesystem::path& projectFilePath);

} // namespace orv
