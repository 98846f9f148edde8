#pragma once

#include "data/Failure.h"
#include "data/ProjectPaths.h"
#include "data/Result.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace orv {

// Why the report may not be written to `output`, or empty when it may: the
// path is, or reaches through links (same device and inode), the project
// file or one of its five data files, or it lies (existing or new, through
// links or not) inside the project's resource folder.
std::optional<std::string> RefusedOutput(const std::filesystem::path& output, const ProjectPaths& paths);

// Writes `bytes`, then `tail`, to `output` (created, or emptied first) and
// checks every write and the close. Returns the failure, or empty. The tail
// spares a caller copying a report of hundreds of megabytes to end it with a
// line feed.
std::optional<Failure> WriteOutputFile(const std::filesystem::path& output, std::string_view bytes,
                                       std::string_view tail = {});

class FdStreamBuf;

// A file a command writes its output into as the output is made, so that
// memory stays bounded: created at once (so that a file that cannot be
// written fails before any work), every write checked, the close included.
// Abandoned, it leaves no half output behind: a file it created is removed,
// one that was there is left empty.
class OutputFile {
  public:
    static Result<OutputFile> create(const std::filesystem::path& path);
    OutputFile(OutputFile&& other) noexcept;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    std::ostream& stream() { return *stream_; }
    // Flushes and closes; a write that failed on the way is the failure.
    Result<void> close();
    // Empties the file (removes it when it was made for this output) and
    // says which: "FILE was removed" or "FILE was left empty".
    std::string abandon();

  private:
    OutputFile(std::filesystem::path path, int fd, bool created);
    std::filesystem::path path_;
    int fd_;
    bool created_;
    std::unique_ptr<FdStreamBuf> buffer_;
    std::unique_ptr<std::ostream> stream_;
};

} // namespace orv
