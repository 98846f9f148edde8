#include "data/FileError.h"

#include <cerrno>
#include <cstring>

namespace orv {

FileError::FileError(int number, std::filesystem::path file, std::string reason)
    : std::runtime_error(file.string() + ": " + reason),
      number_(number), failure_{FailureKind::CannotRead, std::move(file), std::move(reason)} {}

FileError::FileError(int number, Failure failure)
    : std::runtime_error(describeFailure(failure)), number_(number), failure_(std::move(failure)) {}

int errorNumberForErrno(int err) {
    switch (err) {
    case ENOENT: return ErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return ErrPermissionDenied;
    case EIO: return ErrDeviceIO;
    default: return ErrPathFileAccess;
    }
}

FileError fileErrorFromErrno(int err, const std::filesystem::path& file, const char* action) {
    return FileError(errorNumberForErrno(err), file, std::string("cannot ") + action + " (" + std::strerror(err) + ")");
}

FileError fileErrorFromErrno(int err, FailureKind kind, const std::filesystem::path& file) {
    return FileError(errorNumberForErrno(err), systemFailure(kind, err, file));
}

} // namespace orv
