#pragma once

#include "data/Failure.h"

#include <filesystem>
#include <stdexcept>
#include <string>

namespace orv {

// Error numbers follow the authoring tool's runtime, so that the texts the
// author sees ("Error #53: ...") match what the tool itself would say.
enum ErrorNumber : int {
    ErrOverflow = 6,
    ErrFileNotFound = 53,
    ErrDeviceIO = 57,
    ErrPermissionDenied = 70,
    ErrPathFileAccess = 75,
    ErrPathNotFound = 76,
    ErrTooManyRecords = 10001,
};

// A failure to open or read one of the project's files. The description
// always names the file, so that a message built from it tells the author
// which file is at fault and why; failure() holds the same as a value.
class FileError : public std::runtime_error {
  public:
    FileError(int number, std::filesystem::path file, std::string reason);
    FileError(int number, Failure failure);

    int number() const { return number_; }
    const std::filesystem::path& file() const { return failure_.path; }
    const std::string& reason() const { return failure_.reason; }
    const Failure& failure() const { return failure_; }

  private:
    int number_;
    Failure failure_;
};

// The error number the runtime gives a failed system call's errno.
int errorNumberForErrno(int err);

// Builds the FileError for a failed system call from errno.
FileError fileErrorFromErrno(int err, const std::filesystem::path& file, const char* action);
FileError fileErrorFromErrno(int err, FailureKind kind, const std::filesystem::path& file);

} // namespace orv
