#include "data/FileError.h"

#include <cerrno>
#include <cstring>

namespace orv {

FileError::FileError(int number, std::filesystem::path file, std::string reason)
    : std::runtime_error(file.string() + ": " + reason), number_(number), file_(std::move(file)),
      reason_(std::move(reason)) {}

FileError fileErrorFromErrno(int err, const std::filesystem::path& file, const char* action) {
    int number = ErrPathFileAccess;
    switch (err) {
    case ENOENT: number = ErrPathNotFound; break;
    case EACCES:
    case EPERM:
    case EROFS: number = ErrPermissionDenied; break;
    case EIO: number = ErrDeviceIO; break;
    default: break;
    }
    return FileError(number, file, std::string("cannot ") + action + " (" + std::strerror(err) + ")");
}

} // namespace orv
