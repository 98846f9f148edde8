#include "ui/Wording.h"

#include <cerrno>

namespace orv::ui {

int ErrorNumber(const Failure& f) {
    switch (f.kind) {
    case FailureKind::FileMissing: return 53;
    case FailureKind::ResourceFolderMissing: return 76;
    case FailureKind::TooManyRecords: return 10001;
    default: break;
    }
    switch (f.error) {
    case ENOENT: return 76;
    case EACCES:
    case EPERM:
    case EROFS: return 70;
    case EIO: return 57;
    default: return 75;
    }
}

std::string UnexpectedError(std::string_view procedure, const Failure& failure) {
    return "Unexpected error in procedure: " + std::string(procedure) + "\r\nError #" +
           std::to_string(ErrorNumber(failure)) + ": " + describeFailure(failure);
}

std::string FailureMessage(std::string_view lead, const Failure& failure) {
    return std::string(lead) + "\r" + describeFailure(failure);
}

} // namespace orv::ui
