#pragma once

#include "data/Types.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

namespace orv {

// An open data file of fixed-length records. Record n (from 1) occupies bytes
// (n - 1) x L to n x L - 1. The file is only ever read; opening a file that
// does not exist creates it empty (the one change the scanner makes to a
// project), and it then behaves as an empty file.
class RecordFile {
  public:
    enum class IfMissing { Create, Fail };

    // Opens the file at `path` (see openOrdinaryFile: an ordinary file or a
    // link to one; a missing file is created only as a new ordinary file).
    // Throws FileError when it can be neither opened nor (with
    // IfMissing::Create) created, or when it is a folder or anything else
    // that is not an ordinary file (a pipe would never answer).
    RecordFile(std::filesystem::path path, std::size_t recordLength, IfMissing ifMissing);

    // Opens a data file of the project: folder + relative, each component
    // found ignoring case and opened relative to the folder before it; a
    // missing file is created empty, though never in a folder reached
    // through a link. A missing folder on the way is ResourceFolderMissing.
    static RecordFile openDataFile(const std::filesystem::path& folder, std::string_view relative,
                                   std::size_t recordLength);

    const std::filesystem::path& path() const { return path_; }
    std::size_t recordLength() const { return recordLength_; }
    std::uint64_t length() const { return length_; }

    // Length / L rounded half to even. Throws FileError when the count does
    // not fit a 16-bit Integer: such a file is refused rather than wrapped.
    Integer recordCount() const;

    // The L bytes of record n; bytes past the end of the file read as zero.
    // Throws FileError on a read error or a record number below 1.
    std::vector<std::uint8_t> readRecord(long n) const;

    // Records first to first + count - 1 with one read into `out` (whose
    // storage is reused): count x L bytes, those past the end of the file
    // zero. Throws FileError as readRecord does.
    void readRecords(long first, std::size_t count, std::vector<std::uint8_t>& out) const;
    // The whole file, length() bytes, read into one buffer (never mapped: a
    // file cut short by another program would then fault the scanner).
    std::vector<std::uint8_t> readAll() const;

  private:
    RecordFile(int fd, std::filesystem::path path, std::size_t recordLength);
    void adopt(int fd); // takes the descriptor over and measures the file

    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::filesystem::path path_;
    std::size_t recordLength_;
    std::uint64_t length_ = 0;
    std::unique_ptr<std::FILE, Closer> file_;
};

// Opens the project file itself and reads its one record.
struct ProjectRecord;
ProjectRecord readProjectRecord(const std::filesystem::path& projectFilePath);

} // namespace orv
